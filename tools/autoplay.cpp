// autoplay: plays whole games of Dovra through the heart's own entry points, clicking like a player, on a
// platform of its own that answers the heart's requests as the Windows program does, and stops at the first
// broken invariant; its last line tells what the games looked like.
//
// Usage: autoplay --games N [--seed S]
// Runs in the current folder, where the program reads and writes prefs.txt and scores.txt. Every few
// games the window is closed and the program started again, in a fresh process, from the files it wrote.
// Exit status 0 when every game was played through, 1 on a broken invariant, 2 on bad arguments.
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include <deque>

#include "board.h"
#include "commands.h"
#include "lines.h"
#include "modal.h"
#include "platform.h"
#include "prefs.h"
#include "random.h"
#include "resource.h"
#include "route.h"
#include "scores.h"
#include "session.h"
#include "sound.h"
#include "turn.h"

namespace {

// What one session (one run of the program) hands back, and what the next one starts from.
struct carried {
    int have_saved;                       // 1 once a session has closed the window
    int board[BOARD_SIZE][BOARD_SIZE];    // the board and score at that close
    int score;
    int game_moves;                       // moves and bonus of the game still on the board
    int game_emptied;
};

struct figures {
    long long games, turns, moves, score_sum, emptied, abandoned, restarts;
    int max_score;
};

struct session_report {
    figures done;
    carried next;
};

// ---- Run-wide settings and the autoplayer's own random choices ------------------------------------

long long games_wanted;
unsigned long long seed;
int session_number;
long long games_before;     // games finished in earlier sessions, for naming the game that failed
carried start;              // what this session starts from
figures done;

unsigned long long choice_state;

// splitmix64: the player's choices, apart from the program's own random source.
unsigned long long next_choice()
{
    unsigned long long z = (choice_state += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
}

int pick(int n)
{
    return (int)(next_choice() % (unsigned long long)n);
}

// 1 about once in n calls.
int one_in(int n)
{
    return pick(n) == 0;
}

// ---- Failure -------------------------------------------------------------------------------------

int game_moves;
int game_emptied;

void fail(const char* invariant)
{
    std::printf("autoplay: game %lld, move %d: %s (seed %llu; replay with autoplay --games %lld --seed %llu)\n",
                games_before + done.games + 1, game_moves, invariant, seed, games_wanted, seed);
    std::fflush(stdout);
    std::_Exit(1);
}

void require(int condition, const char* invariant)
{
    if (!condition)
        fail(invariant);
}

// ---- What the player sees of the board ------------------------------------------------------------

typedef int grid[BOARD_SIZE][BOARD_SIZE];

int count_pieces(const grid b)
{
    int n = 0;
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            n += b[x][y] != EMPTY;
    return n;
}

int on_board(int x, int y)
{
    return x >= 0 && y >= 0 && x < BOARD_SIZE && y < BOARD_SIZE;
}

// reach[x][y] = 1 for every empty square of b that a piece at (x0, y0) can travel to.
void reachable(const grid b, int x0, int y0, grid reach)
{
    std::memset(reach, 0, sizeof(grid));
    int queue[SQUARES][2] = {{x0, y0}};
    const int steps[4][2] = {{1, 0}, {-1, 0}, {0, 1}, {0, -1}};
    for (int head = 0, tail = 1; head < tail; ++head)
        for (const auto& s : steps) {
            int nx = queue[head][0] + s[0], ny = queue[head][1] + s[1];
            if (on_board(nx, ny) && b[nx][ny] == EMPTY && !reach[nx][ny]) {
                reach[nx][ny] = 1;
                queue[tail][0] = nx, queue[tail][1] = ny, ++tail;
            }
        }
}

// The longest run of its kind through (x, y), counted in pieces.
int run_through(const grid b, int x, int y)
{
    const int dirs[4][2] = {{1, 0}, {0, 1}, {1, 1}, {1, -1}};
    int best = 0;
    for (const auto& d : dirs) {
        int run = 1;
        for (int sign = -1; sign <= 1; sign += 2)
            for (int nx = x + sign * d[0], ny = y + sign * d[1]; on_board(nx, ny) && b[nx][ny] == b[x][y];
                 nx += sign * d[0], ny += sign * d[1])
                ++run;
        best = run > best ? run : best;
    }
    return best;
}

struct move_choice {
    int fx, fy, tx, ty;
};

// A move that completes a line, else one that makes the longest run of its kind; ties by a seeded draw.
int choose_move(move_choice* chosen)
{
    grid seen, reach;
    std::memcpy(seen, board, sizeof seen);
    int best = 0, ties = 0;
    for (int fx = 0; fx < BOARD_SIZE; ++fx)
        for (int fy = 0; fy < BOARD_SIZE; ++fy) {
            int kind = seen[fx][fy];
            if (kind == EMPTY)
                continue;
            reachable(seen, fx, fy, reach);
            seen[fx][fy] = EMPTY;
            for (int tx = 0; tx < BOARD_SIZE; ++tx)
                for (int ty = 0; ty < BOARD_SIZE; ++ty) {
                    if (!reach[tx][ty])
                        continue;
                    seen[tx][ty] = kind;
                    int value = run_through(seen, tx, ty);
                    seen[tx][ty] = EMPTY;
                    value = value > MIN_LINE ? MIN_LINE : value;
                    if (value > best)
                        best = value, ties = 0;
                    if (value == best && pick(++ties) == 0)
                        *chosen = {fx, fy, tx, ty};
                }
            seen[fx][fy] = kind;
        }
    return best > 0;
}

// ---- The platform: the heart's requests answered as the Windows program answers them ---------------------

// A message the player or the heart posts to the main window.
struct posted {
    enum { CLICK, COMMAND, CLOSE } what;
    int x, y, id;
};

std::deque<posted> queue;
int busy_cursor;            // the cursor the heart asked for last
int window_closed;          // the close has run: the game saved, the sounds released
int modal_ticks;            // the ticks each modal window's loop delivers before the player answers it
long long wow_boxes, scores_shown, names_asked;  // modal windows opened so far
std::deque<const char*> names_to_type;    // one for each New High Score dialog still to open

// A modal window's loop goes on delivering the main window's ticks until the player answers it.
void modal_loop()
{
    for (int i = 0; i < modal_ticks; ++i)
        on_tick();
}

// What the main window's procedure does with a posted message.
void deliver(const posted& p)
{
    if (p.what == posted::CLICK) {
        on_click((unsigned)p.x, (unsigned)p.y);
    } else if (p.what == posted::COMMAND) {
        command(p.id);
    } else if (!window_closed && !close_waits()) {
        // Saved before anything is released.
        window_closed = 1;
        SavePrefs();
        release_sounds();
    }
}

}  // namespace

void platform_show_cursor(int busy)
{
    busy_cursor = busy;
}

void platform_repaint(int) {}

void platform_queue_click(int x, int y)
{
    queue.push_back({posted::CLICK, x, y, 0});
}

void platform_check(int, int) {}

void platform_fit_window() {}

void platform_close()
{
    queue.push_back({posted::CLOSE, 0, 0, 0});
}

void platform_message_box(int modal, const char*, const char* caption)
{
    wow_boxes += std::strcmp(caption, "Wow!") == 0;
    modal_loop();
    modal_closed(modal);
}

// The name typed is taken as the dialog takes it, at most 59 characters, and stored once.
void platform_new_high_score(int modal)
{
    ++names_asked;
    modal_loop();
    std::snprintf(newname, sizeof newname, "%s", names_to_type.front());
    names_to_type.pop_front();
    enter_high_score();
    modal_closed(modal);
}

void platform_top_scores(int modal)
{
    ++scores_shown;
    modal_loop();
    modal_closed(modal);
}

// The player never closes the window while a modal window is open.
void platform_end_score_dialog() {}

void platform_open_sound() {}

void platform_play_sound(const unsigned char* image, long length)
{
    int loaded = image == nullptr;
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        loaded |= image == wavbuffer[slot] && length == wavlength[slot];
    require(loaded, "only a loaded sound image, or none, is handed to the player");
}

void platform_stop_sound() {}

namespace {

// ---- What the player does ---------------------------------------------------------------------------

enum action_kind { TICK, CLICK, MOVE_CLICK, REFUSED_CLICK, COMMAND, CLOSE };

action_kind last_action = TICK;
int last_command;

// A click in the middle of square (x, y), as the window receives it.
void click(action_kind kind, int x, int y)
{
    int half = cell_size / 2;
    last_action = kind;
    queue.push_back({posted::CLICK, x * cell_size + half, y * cell_size + half, 0});
}

// A menu item or the New Game button.
void press(int id)
{
    last_action = COMMAND;
    last_command = id;
    queue.push_back({posted::COMMAND, 0, 0, id});
}

int new_game_id()
{
    return one_in(2) ? IDM_NEWGAME : IDC_NEWGAME;
}

// Names typed at a new high score: plain, accented (Windows-1252) and longer than the table keeps.
const char* const names[] = {
    "Ann", "Zo\xEB", "J\xFCrgen M\xFCller", "Ren\xE9\x65 Fran\xE7oise", "", "  Bo",
    "A player whose name runs on far longer than the table keeps",
    "\xC5sa \xD6\x62\x65rg-Lindstr\xF6m, who also types a very long name",
};

// Keeps one name ready for the next New High Score dialog, whoever opens it.
void choose_next_name()
{
    if (!names_to_type.empty())
        return;
    names_to_type.push_back(names[pick((int)(sizeof names / sizeof names[0]))]);
    // Whether the player then presses OK or Esc and the close box, the entry is the same; the draw stays,
    // so that a seed plays the games it always played.
    (void)one_in(3);
}

// ---- Invariants ------------------------------------------------------------------------------------

struct snapshot {
    grid board;
    int score, animate_state, pptr, move_complete, hilite_x, hilite_y;
    long long wow_boxes, scores_shown, names_asked;
};

snapshot take_snapshot()
{
    snapshot s;
    std::memcpy(s.board, board, sizeof board);
    s.score = current_score;
    s.animate_state = animate_state;
    s.pptr = pptr;
    s.move_complete = move_complete;
    s.hilite_x = hilite_x;
    s.hilite_y = hilite_y;
    s.wow_boxes = wow_boxes;
    s.scores_shown = scores_shown;
    s.names_asked = names_asked;
    return s;
}

// Whether `cleared` squares in at most `passes` clearing passes, each of five or more and none larger
// than `largest`, give exactly `points`.
int points_fit(int cleared, int points, int passes, int largest)
{
    if (cleared == 0)
        return points == 0;
    for (int n = MIN_LINE; n <= cleared && n <= largest && passes > 0; ++n)
        if (points_fit(cleared - n, points - compute_score(n), passes - 1, n))
            return 1;
    return 0;
}

// scores.txt lists the table as it stands, best first, and names the newest row.
void check_scores_file()
{
    FILE* f = std::fopen("scores.txt", "r");
    require(f != nullptr, "scores.txt is written when a score enters the table");
    char line[256];
    int rows = 0, ordered = 1, newest = -1;
    while (std::fgets(line, sizeof line, f)) {
        if (rows < SCORE_ROWS) {
            int score = std::atoi(line);
            ordered &= score == scores[rows].score && (rows == 0 || score <= scores[rows - 1].score);
        } else if (rows == SCORE_ROWS) {
            newest = std::atoi(line);
        }
        ++rows;
    }
    std::fclose(f);
    require(rows == SCORE_ROWS + 1 && ordered, "scores.txt holds the table in its order, best first");
    require(newest >= 0 && newest < SCORE_ROWS, "scores.txt names the newest row");
}

// What holds between any two messages.
void check_state()
{
    for (int x = 0; x < BOARD_SIZE; ++x)
        for (int y = 0; y < BOARD_SIZE; ++y)
            require(board[x][y] >= EMPTY && board[x][y] <= PIECE_KINDS, "every square holds 0-7, no visited mark");
    require(pptr >= 0 && pptr <= PATH_COUNT_MAX, "pptr stays within 0-80");
    if (move_complete)
        require(animate_state == MOVE && pptr == 0, "a finished turn is idle");
    else
        require(animate_state != MOVE || pptr > 0, "a running turn has a step left to do");
    require((move_complete == 0) == busy_cursor, "the busy cursor shows exactly while a turn runs");
    int none = hilite_x == NO_SELECTION && hilite_y == NO_SELECTION;
    require(none || (hilite_x >= 0 && hilite_x < BOARD_SIZE && hilite_y >= 0 && hilite_y < BOARD_SIZE),
            "the selection is a square or nothing");
    require(move_complete || none, "nothing is selected while a turn runs");
}

// A tick moves the turn one step on: the pieces and the score change only as that step allows.
void check_tick(const snapshot& b, int* game_over)
{
    const int wows = (int)(wow_boxes - b.wow_boxes), overs = (int)(scores_shown - b.scores_shown);
    const int high_scores = (int)(names_asked - b.names_asked);
    int step = b.move_complete ? -1 : b.animate_state;
    int before = count_pieces(b.board), after = count_pieces(board);
    int dropped = step >= DROP1 && before < SQUARES ? 1 : 0;
    int cleared = before + dropped + 3 * wows - after;
    int passes = step == PAUSE ? 1 : step == DROP3 ? SQUARES : 0;
    require(wows == 0 || step == PAUSE || step == DROP3, "the board empties only when lines are cleared");
    require(cleared >= 0, "no piece appears but those dropped and the bonus deal");
    require(points_fit(cleared, current_score - b.score - 500 * wows, passes, SQUARES),
            "the pieces equal those before plus those dropped minus those cleared, and the score rises "
            "by the points of the lines cleared and the bonus");
    if (step == DROP3)
        require(overs == (after == SQUARES), "the game ends exactly when the turn leaves the board full");
    else
        require(overs == 0, "the game ends only at the end of a turn");
    if (high_scores)
        check_scores_file();
    *game_over = overs;
    if (wows)
        game_emptied = 1;
}

// ---- The player --------------------------------------------------------------------------------

int games_this_session;     // how many games this session plays before it closes the window
int close_countdown = -1;   // decisions left before the close, once the session's games are played
int abandon_at;             // the move of this game at which New Game is chosen mid-turn, or -1
int turn_ticks;
move_choice planned;
int planned_valid;
snapshot before;

void new_game_plan()
{
    abandon_at = one_in(20) ? 1 + pick(40) : -1;
    planned_valid = 0;
}

void finish_game()
{
    ++done.games;
    done.moves += game_moves;
    done.score_sum += current_score;
    done.max_score = current_score > done.max_score ? current_score : done.max_score;
    done.emptied += game_emptied;
    game_moves = game_emptied = 0;
    if (done.games >= games_this_session && close_countdown < 0)
        close_countdown = pick(40);
}

// Checks what the last delivered message did.
void check_last_action()
{
    check_state();
    int same_board = std::memcmp(before.board, board, sizeof board) == 0 && before.score == current_score;
    switch (last_action) {
    case TICK: {
        int game_over = 0;
        check_tick(before, &game_over);
        turn_ticks = move_complete ? 0 : turn_ticks + 1;
        require(turn_ticks <= PATH_COUNT_MAX + 4, "a turn ends within its route's length and three drops");
        if (game_over)
            finish_game();
        break;
    }
    case MOVE_CLICK:
        require(same_board, "a click changes neither board nor score");
        require(move_complete == 0, "a move to a square the piece can reach is accepted");
        ++done.turns;
        ++game_moves;
        planned_valid = 0;
        break;
    case REFUSED_CLICK:
        require(same_board && move_complete == 1, "a refused click starts no move");
        require(hilite_x == before.hilite_x && hilite_y == before.hilite_y, "a refused click keeps the selection");
        break;
    case CLICK:
        require(same_board, "a click changes neither board nor score");
        break;
    case COMMAND:
        if (last_command == IDM_NEWGAME || last_command == IDC_NEWGAME) {
            require(count_pieces(board) == 3 && current_score == 0 && move_complete == 1 && hilite_x == NO_SELECTION,
                    "New Game deals three pieces, score 0, no turn and no selection");
            if (names_asked > before.names_asked || scores_shown > before.scores_shown)
                check_scores_file();
            if (count_pieces(before.board) < SQUARES && game_moves > 0) {
                ++done.abandoned;
                game_moves = game_emptied = 0;
            }
            new_game_plan();
        } else {
            require(same_board, "a menu command other than New Game leaves board and score");
        }
        break;
    case CLOSE:
        break;
    }
}

// Something a player might do while no turn runs.
void act_when_idle()
{
    int selected = hilite_x != NO_SELECTION;
    if (count_pieces(board) == SQUARES) {
        press(new_game_id());
    } else if (one_in(60)) {
        const int items[] = {IDM_LITTLEBOARD, IDM_BIGBOARD, IDM_PREVIEW, IDM_SOUND, IDM_SHOWSCORES};
        press(items[pick(5)]);
    } else if (one_in(25)) {
        // Mostly refused: the selected piece itself, or an empty square it cannot reach.
        grid reach = {};
        if (selected)
            reachable(board, hilite_x, hilite_y, reach);
        int x = pick(BOARD_SIZE), y = pick(BOARD_SIZE);
        for (int tries = 0; tries < SQUARES && (board[x][y] != EMPTY || reach[x][y]); ++tries)
            x = (x + 1) % BOARD_SIZE, y = x == 0 ? (y + 1) % BOARD_SIZE : y;
        if (selected && one_in(2))
            x = hilite_x, y = hilite_y;
        int refused = (x == hilite_x && y == hilite_y) || (board[x][y] == EMPTY && !reach[x][y]);
        click(refused ? REFUSED_CLICK : board[x][y] == EMPTY ? MOVE_CLICK : CLICK, x, y);
    } else if (one_in(20)) {
        last_action = TICK;   // the player pauses; the timer ticks on
    } else {
        if (!planned_valid || board[planned.fx][planned.fy] == EMPTY || board[planned.tx][planned.ty] != EMPTY)
            planned_valid = choose_move(&planned);
        if (!planned_valid)
            last_action = TICK;
        else if (hilite_x != planned.fx || hilite_y != planned.fy)
            click(CLICK, planned.fx, planned.fy);
        else
            click(MOVE_CLICK, planned.tx, planned.ty);
    }
}

// Something a player might do while a turn runs: mostly wait, sometimes click, now and then start anew.
void act_during_turn()
{
    if (abandon_at >= 0 && game_moves >= abandon_at && one_in(3)) {
        press(new_game_id());
    } else if (one_in(15)) {
        click(CLICK, pick(BOARD_SIZE), pick(BOARD_SIZE));
    } else if (one_in(200)) {
        const int items[] = {IDM_LITTLEBOARD, IDM_BIGBOARD, IDM_PREVIEW, IDM_SOUND};
        press(items[pick(4)]);
    } else {
        last_action = TICK;
    }
}

int first_idle = 1;

// The first time the loop runs out of messages, start-up is over.
void check_start_up()
{
    check_state();
    // The program seeds itself from the clock; from here on the seed decides, so a run replays.
    dovra::srand((unsigned)next_choice());
    if (start.have_saved && count_pieces(start.board) < SQUARES) {
        require(std::memcmp(start.board, board, sizeof board) == 0 && current_score == start.score,
                "after a restart the board and the score are the ones saved");
        get_handfull();
        game_moves = start.game_moves;
        game_emptied = start.game_emptied;
        last_action = TICK;
        return;
    }
    // A finished game is not saved: the program starts with a new deal.
    if (start.have_saved)
        require(count_pieces(board) == 3 && current_score == 0, "after a restart from a finished game a new game is dealt");
    press(IDM_NEWGAME);
}

// Runs each time the message loop has nothing left to do: check the last message, then act.
void on_idle()
{
    choose_next_name();
    if (first_idle) {
        first_idle = 0;
        new_game_plan();
        check_start_up();
    } else {
        check_last_action();
        if (close_countdown == 0) {
            // The close box, or File, Exit.
            if (one_in(2))
                queue.push_back({posted::CLOSE, 0, 0, 0});
            else
                press(IDM_EXIT);
            last_action = CLOSE;
        } else {
            if (close_countdown > 0)
                --close_countdown;
            if (move_complete)
                act_when_idle();
            else
                act_during_turn();
        }
    }
    before = take_snapshot();
}

// One run of the program, from its start-up to the close.
session_report run_session(long long games)
{
    games_this_session = (int)games;
    modal_ticks = pick(3);
    // Start-up as the program's: the settings and the sounds, then the main window's creation.
    load_settings();
    set_check_marks();
    start_game();
    // The message loop: what is posted comes first; when nothing is, the player acts, and a player who waits
    // gets the timer's next tick.
    while (!window_closed) {
        if (!queue.empty()) {
            const posted p = queue.front();
            queue.pop_front();
            deliver(p);
            continue;
        }
        on_idle();
        if (queue.empty())
            on_tick();
    }
    for (int slot = 0; slot < SOUND_SLOTS; ++slot)
        require(wavbuffer[slot] == nullptr, "at the close every sound image is released");

    session_report r;
    r.done = done;
    r.next.have_saved = 1;
    std::memcpy(r.next.board, board, sizeof board);
    r.next.score = current_score;
    r.next.game_moves = game_moves;
    r.next.game_emptied = game_emptied;
    return r;
}

// Runs one session in a child process, so every start finds the program as a new process would.
// Returns 1 when the session ended well; the child has named any invariant it found broken.
int run_child(long long games, session_report* report)
{
    int fds[2];
    if (pipe(fds) != 0)
        return 0;
    std::fflush(stdout);
    pid_t child = fork();
    if (child == 0) {
        close(fds[0]);
        session_report r = run_session(games);
        ssize_t written = write(fds[1], &r, sizeof r);
        close(fds[1]);
        std::exit(written == (ssize_t)sizeof r ? 0 : 1);
    }
    close(fds[1]);
    ssize_t got = child > 0 ? read(fds[0], report, sizeof *report) : -1;
    close(fds[0]);
    int status = 0;
    if (child > 0)
        waitpid(child, &status, 0);
    if (got == (ssize_t)sizeof *report && WIFEXITED(status) && WEXITSTATUS(status) == 0)
        return 1;
    // A broken invariant exits with 1 after naming itself; anything else is a crash or an abort.
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 1)
        std::printf("autoplay: the program ended abnormally after game %lld (seed %llu; replay with autoplay "
                    "--games %lld --seed %llu)\n",
                    games_before, seed, games_wanted, seed);
    return 0;
}

int parse(int argc, char** argv)
{
    games_wanted = -1;
    seed = (unsigned long long)std::time(nullptr);
    for (int i = 1; i + 1 < argc; i += 2) {
        char* end = nullptr;
        unsigned long long value = std::strtoull(argv[i + 1], &end, 10);
        if (*argv[i + 1] == '\0' || *end != '\0')
            return 0;
        if (std::strcmp(argv[i], "--games") == 0 && value > 0 && value < 1000000000ULL)
            games_wanted = (long long)value;
        else if (std::strcmp(argv[i], "--seed") == 0)
            seed = value;
        else
            return 0;
    }
    return argc % 2 == 1 && games_wanted > 0;
}

}  // namespace

int main(int argc, char** argv)
{
    if (!parse(argc, argv)) {
        std::fprintf(stderr, "usage: autoplay --games N [--seed S]\n");
        return 2;
    }
    std::printf("autoplay: %lld games, seed %llu\n", games_wanted, seed);
    auto began = std::chrono::steady_clock::now();
    figures total = {};
    while (total.games < games_wanted) {
        // Each session draws its choices from the seed and its number alone.
        choice_state = seed * 0x100000001B3ULL + (unsigned long long)session_number;
        games_before = total.games;
        done = {};
        session_report r;
        long long games = 1 + pick(6);
        games = games < games_wanted - total.games ? games : games_wanted - total.games;
        if (!run_child(games, &r))
            return 1;
        total.games += r.done.games;
        total.turns += r.done.turns;
        total.moves += r.done.moves;
        total.score_sum += r.done.score_sum;
        total.emptied += r.done.emptied;
        total.abandoned += r.done.abandoned;
        total.max_score = r.done.max_score > total.max_score ? r.done.max_score : total.max_score;
        total.restarts += start.have_saved;
        start = r.next;
        ++session_number;
    }
    double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - began).count();
    double g = (double)total.games;
    std::printf("%lld games in %.1f s: %.1f games/s, %.0f turns/s, score mean %.1f max %d, %.1f moves per game, "
                "board emptied in %.2f%% of games (%lld; %lld abandoned by New Game, %lld restarts, seed %llu)\n",
                total.games, seconds, g / seconds, (double)total.turns / seconds, (double)total.score_sum / g,
                total.max_score, (double)total.moves / g, 100.0 * (double)total.emptied / g, total.emptied,
                total.abandoned, total.restarts, seed);
    return 0;
}
