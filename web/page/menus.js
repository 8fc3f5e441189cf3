// menus.js: the menu bar, as a menu bar works on a desktop: by mouse, and from the keyboard alone (Tab reaches
// it, the arrows move, Enter or Space chooses, Esc closes, an item's underlined letter chooses it), with the check
// marks of the settings.

const menuBar = document.getElementById('menubar');
const menuTitles = Array.from(menuBar.querySelectorAll(':scope > li > [role="menuitem"]'));
let openTitle = null;

function itemsOf(title) {
  return Array.from(title.nextElementSibling.querySelectorAll('[role^="menuitem"]'));
}

function mnemonicOf(element) {
  const underlined = element.querySelector('u');
  return underlined ? underlined.textContent.toLowerCase() : '';
}

function focusTitle(title) {
  for (const t of menuTitles)
    t.tabIndex = t === title ? 0 : -1;
  title.focus();
}

function closeMenu(focusItsTitle) {
  if (!openTitle)
    return;
  const title = openTitle;
  openTitle = null;
  title.setAttribute('aria-expanded', 'false');
  title.nextElementSibling.hidden = true;
  if (focusItsTitle)
    focusTitle(title);
}

function openMenu(title, focusLast) {
  if (openTitle !== title)
    closeMenu(false);
  openTitle = title;
  title.setAttribute('aria-expanded', 'true');
  title.nextElementSibling.hidden = false;
  const items = itemsOf(title);
  for (const item of items)
    item.tabIndex = -1;
  const first = items[focusLast ? items.length - 1 : 0];
  first.tabIndex = 0;
  first.focus();
}

function neighbourTitle(title, step) {
  const i = menuTitles.indexOf(title);
  return menuTitles[(i + step + menuTitles.length) % menuTitles.length];
}

// Chosen from the keyboard, the menu's title keeps the focus, so that the keyboard stays in the menu bar.
function choose(item, byKeyboard) {
  closeMenu(byKeyboard);
  if (!byKeyboard)
    document.activeElement.blur();
  callHeart(_web_command, Number(item.dataset.command));
}

function checkMenuItem(command, on) {
  const item = menuBar.querySelector('[data-command="' + command + '"]');
  if (item)
    item.setAttribute('aria-checked', on ? 'true' : 'false');
}

function onTitleKey(event) {
  const title = event.currentTarget;
  switch (event.key) {
  case 'ArrowRight':
  case 'ArrowLeft': {
    const next = neighbourTitle(title, event.key === 'ArrowRight' ? 1 : -1);
    if (openTitle)
      openMenu(next, false);
    else
      focusTitle(next);
    break;
  }
  case 'ArrowDown':
  case 'Enter':
  case ' ':
    openMenu(title, false);
    break;
  case 'ArrowUp':
    openMenu(title, true);
    break;
  case 'Home':
    focusTitle(menuTitles[0]);
    break;
  case 'End':
    focusTitle(menuTitles[menuTitles.length - 1]);
    break;
  case 'Escape':
    closeMenu(false);
    title.blur();
    break;
  default: {
    const match = menuTitles.find((t) => mnemonicOf(t) === event.key.toLowerCase());
    if (!match)
      return;
    openMenu(match, false);
  }
  }
  event.preventDefault();
}

function onItemKey(event) {
  const item = event.target.closest('[role^="menuitem"]');
  if (!item || !openTitle)
    return;
  const items = itemsOf(openTitle);
  const i = items.indexOf(item);
  const move = (to) => {
    item.tabIndex = -1;
    items[to].tabIndex = 0;
    items[to].focus();
  };
  switch (event.key) {
  case 'ArrowDown': move((i + 1) % items.length); break;
  case 'ArrowUp': move((i - 1 + items.length) % items.length); break;
  case 'Home': move(0); break;
  case 'End': move(items.length - 1); break;
  case 'ArrowRight':
  case 'ArrowLeft':
    openMenu(neighbourTitle(openTitle, event.key === 'ArrowRight' ? 1 : -1), false);
    break;
  case 'Enter':
  case ' ':
    choose(item, true);
    break;
  case 'Escape':
    closeMenu(true);
    break;
  case 'Tab':
    closeMenu(false);
    return;
  default: {
    const match = items.find((it) => mnemonicOf(it) === event.key.toLowerCase());
    if (!match)
      return;
    choose(match, true);
  }
  }
  event.preventDefault();
}

for (const title of menuTitles) {
  title.addEventListener('keydown', onTitleKey);
  title.nextElementSibling.addEventListener('keydown', onItemKey);
  title.addEventListener('click', () => {
    if (openTitle === title)
      closeMenu(true);
    else
      openMenu(title, false);
  });
  // With one menu open, pointing at another title opens that one instead.
  title.addEventListener('pointerenter', () => {
    if (openTitle && openTitle !== title)
      openMenu(title, false);
  });
  title.nextElementSibling.addEventListener('click', (event) => {
    const item = event.target.closest('[role^="menuitem"]');
    if (item)
      choose(item, false);
  });
}

// Alt and a title's underlined letter open its menu, as on a desktop, where the browser lets the page have it.
document.addEventListener('keydown', (event) => {
  if (!event.altKey || event.ctrlKey || event.metaKey || !heartRuns())
    return;
  const match = menuTitles.find((t) => mnemonicOf(t) === event.key.toLowerCase());
  if (match) {
    event.preventDefault();
    openMenu(match, false);
  }
});
document.addEventListener('pointerdown', (event) => {
  if (openTitle && !menuBar.contains(event.target))
    closeMenu(false);
});
