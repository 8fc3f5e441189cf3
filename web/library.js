// library.js: the platform operations the heart asks for, carried out by the page (page/*.js).
mergeInto(LibraryManager.library, {
  page_show_cursor: function (busy) { showBusyCursor(busy); },
  page_repaint: function () { requestPaint(); },
  page_queue_click: function (x, y) { queueClick(x, y); },
  page_check: function (item, on) { checkMenuItem(item, on); },
  page_fit: function (width, height, buttonX, buttonY, cellSize) { fitClient(width, height, buttonX, buttonY, cellSize); },
  page_close: function () { setTimeout(closeRequested, 0); },
  page_message_box: function (modal, text, caption) { openMessageBox(modal, codePageText(text), codePageText(caption)); },
  page_new_high_score: function (modal, score, name) { openNewHighScore(modal, score, codePageText(name)); },
  page_top_scores: function (modal) { openTopScores(modal); },
  page_end_score_dialog: function () { endScoreDialog(); },
  page_play_sound: function (samples, frames, channels, bits, rate) { playSound(samples, frames, channels, bits, rate); },
  page_stop_sound: function () { stopSound(); },
});
