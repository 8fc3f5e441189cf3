// one_per_folder_test.cpp: one Dovra per working folder: the lock that a second start finds held, the name that
// marks the first one's window, and the window brought forward, on the system's own kernel32 and user32.
#include <string>
#include <vector>

#include "one_per_folder.h"
#include "win32/program_fixture.h"

namespace {

std::string lock_name_of(const std::string& folder)
{
    char name[FOLDER_LOCK_NAME_LEN];
    folder_lock_name(folder.c_str(), name);
    return name;
}

BOOL CALLBACK note_folder_name(HWND, LPSTR name, HANDLE, ULONG_PTR found)
{
    if (HIWORD(reinterpret_cast<ULONG_PTR>(name)) != 0 && std::string(name).rfind("Dovra-", 0) == 0)
        *reinterpret_cast<std::string*>(found) = name;
    return TRUE;
}

// The name of the property that marks the window as its folder's Dovra, "" for none.
std::string folder_property(HWND w)
{
    std::string found;
    EnumPropsExA(w, note_folder_name, reinterpret_cast<LPARAM>(&found));
    return found;
}

// Another Dovra's lock, taken as the program takes it, through the name given.
HANDLE hold_lock(const std::string& path)
{
    return CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_ALWAYS,
                       FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE, NULL);
}

}  // namespace

class OneDovraPerFolder : public ProgramTest {
protected:
    void TearDown() override
    {
        for (HWND w : others_)
            DestroyWindow(w);
        UnregisterClassA(szAppName, other_module());
        ProgramTest::TearDown();
    }

    // The minimised main window of a Dovra in another process, marked as the Dovra of the folder named. Its class
    // is registered for another module, as another process's would be: it shares only its name with this one's.
    HWND other_dovra_window(const std::string& folder_name)
    {
        WNDCLASSEXA wc = {};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcA;
        wc.hInstance = other_module();
        wc.lpszClassName = szAppName;
        RegisterClassExA(&wc);
        HWND w = CreateWindowExA(0, szAppName, szAppCaption, WS_OVERLAPPEDWINDOW, 0, 0, 200, 200, NULL, NULL,
                                 other_module(), NULL);
        EXPECT_NE(w, nullptr);
        SetPropA(w, folder_name.c_str(), reinterpret_cast<HANDLE>(1));
        ShowWindow(w, SW_MINIMIZE);
        others_.push_back(w);
        return w;
    }

private:
    static HINSTANCE other_module() { return GetModuleHandleA("kernel32.dll"); }
    std::vector<HWND> others_;
};

// ---- The name of a folder's window ----------------------------------------------------------------------

namespace {
struct lock_name_case {
    const char* folder;
    const char* name;
};
}  // namespace

class FolderLockName : public ::testing::TestWithParam<lock_name_case> {};

// A folder spelled in either case is one folder to Windows, so it gives one name.
TEST_P(FolderLockName, IsTheHashOfTheFoldedPath)
{
    EXPECT_EQ(lock_name_of(GetParam().folder), GetParam().name);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, FolderLockName,
    ::testing::Values(lock_name_case{"", "Dovra-cbf29ce484222325"},  // the 64-bit FNV-1a of nothing, and of "a"
                      lock_name_case{"a", "Dovra-af63dc4c8601ec8c"}, lock_name_case{"A", "Dovra-af63dc4c8601ec8c"},
                      lock_name_case{"C:\\Games\\Dovra", "Dovra-9ad6e2b2a04dbfdb"},
                      lock_name_case{"c:\\GAMES\\dovra", "Dovra-9ad6e2b2a04dbfdb"},
                      lock_name_case{"C:\\Games\\Dovra2", "Dovra-68e31e86641d18eb"}));

// A window property's name may hold neither a namespace separator nor any length.
TEST(FolderLockName, StaysShortForTheLongestPath)
{
    const std::string name = lock_name_of(std::string(5000, 'x'));
    EXPECT_EQ(name.size(), FOLDER_LOCK_NAME_LEN - 1);
    EXPECT_EQ(name.find('\\'), std::string::npos);
}

// ---- Starts in a folder where a Dovra runs -------------------------------------------------------------

// Two starts in one folder: the second, started while the first runs, ends at once, and brings the first
// forward, not the Dovra of another folder that is listed before it.
TEST_F(OneDovraPerFolder, SecondStartBringsTheFirstForwardAndTouchesNothing)
{
    write_file("prefs.txt", "cell_size = 32\n");
    write_file("scores.txt", "700 Ann\n");
    int second = -1, hidden_lock = 0, third_listed_first = 0;
    std::string mark, prefs_then, scores_then;
    HWND third = NULL, in_front = NULL;
    int first_minimised = -1, third_minimised = -1;
    {
        modal_player player({at("",
                                [&](HWND) {
                                    hidden_lock = (GetFileAttributesA(FOLDER_LOCK_FILE) & FILE_ATTRIBUTE_HIDDEN) != 0;
                                    mark = folder_property(MyWindow);
                                    ShowWindow(MyWindow, SW_MINIMIZE);
                                    third = other_dovra_window(lock_name_of("C:\\Games\\Dovra"));
                                    SetWindowPos(third, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
                                    third_listed_first = FindWindowExA(NULL, NULL, szAppName, NULL) == third;
                                    // What the second start would read if it read anything.
                                    write_file("prefs.txt", "cell_size = 24\n");
                                    second = run_winmain();
                                    prefs_then = read_file("prefs.txt");
                                    scores_then = read_file("scores.txt");
                                    first_minimised = IsIconic(MyWindow);
                                    third_minimised = IsIconic(third);
                                    in_front = GetForegroundWindow();
                                }),
                             close_main_window()});
        EXPECT_EQ(run_winmain(), 0);
    }

    EXPECT_EQ(hidden_lock, 1);
    EXPECT_EQ(mark.size(), FOLDER_LOCK_NAME_LEN - 1) << "the window is not marked as its folder's: " << mark;
    ASSERT_EQ(third_listed_first, 1);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(prefs_then, "cell_size = 24\n");
    EXPECT_EQ(scores_then, "700 Ann\n");
    EXPECT_EQ(cell_size, 32) << "the second start read prefs.txt";
    EXPECT_EQ(first_minimised, 0);
    EXPECT_EQ(in_front, MyWindow);
    EXPECT_EQ(third_minimised, 1);
    // The first one's close frees the folder for the next start.
    EXPECT_FALSE(file_exists(FOLDER_LOCK_FILE)) << "the lock outlived the close";
    EXPECT_EQ(folder_property(MyWindow), "");
}

namespace {
struct other_dovra_case {
    const char* name;
    const char* lock;  // the other Dovra's lock, by the name it reached it
    int runs;          // this start goes on
};
}  // namespace

class OtherDovraRunning : public OneDovraPerFolder, public ::testing::WithParamInterface<other_dovra_case> {};

// Another Dovra holds a folder's lock; the window of a Dovra of yet another folder is up, minimised.
TEST_P(OtherDovraRunning, StopsThisStartOnlyInItsOwnFolder)
{
    const other_dovra_case& c = GetParam();
    ASSERT_TRUE(CreateDirectoryA("elsewhere", NULL));
    HWND other = other_dovra_window(lock_name_of("C:\\Games\\Dovra"));
    HANDLE lock = hold_lock(c.lock);
    ASSERT_NE(lock, INVALID_HANDLE_VALUE);
    write_file("prefs.txt", "cell_size = 32\n");
    write_file("scores.txt", "700 Ann\n");
    {
        modal_player player({close_main_window()});
        EXPECT_EQ(run_winmain(), 0);
    }
    CloseHandle(lock);

    EXPECT_EQ(MyWindow != NULL, c.runs != 0);
    // Read and written, or neither.
    EXPECT_EQ(cell_size, c.runs ? 32 : 16);
    EXPECT_EQ(scores[0].score, c.runs ? 700 : 0);
    EXPECT_EQ(read_file("prefs.txt") == "cell_size = 32\n", c.runs == 0);
    EXPECT_EQ(read_file("scores.txt"), "700 Ann\n");
    EXPECT_TRUE(IsIconic(other));
    EXPECT_NE(GetForegroundWindow(), other);
}

INSTANTIATE_TEST_SUITE_P(OneDovraPerFolder, OtherDovraRunning,
                         ::testing::Values(other_dovra_case{"in_another_folder", "elsewhere\\dovra.lock", 1},
                                           other_dovra_case{"here_by_a_dotted_name_before_its_window_is_up",
                                                            ".\\.\\dovra.lock", 0}),
                         [](const ::testing::TestParamInfo<other_dovra_case>& info) { return info.param.name; });

namespace {
struct unheld_lock_case {
    const char* name;
    void (*prepare)();  // what is in the folder before the start
    int lock_after;     // a dovra.lock is in the folder after the close
};
}  // namespace

class LockNotHeldByAnother : public OneDovraPerFolder, public ::testing::WithParamInterface<unheld_lock_case> {};

// Only another Dovra's open lock stops a start; a lock file nobody holds, or none that can be made, does not.
TEST_P(LockNotHeldByAnother, LetsThisStartRun)
{
    const unheld_lock_case& c = GetParam();
    write_file("prefs.txt", "cell_size = 32\n");
    c.prepare();
    {
        modal_player player({close_main_window()});
        EXPECT_EQ(run_winmain(), 0);
    }

    EXPECT_NE(MyWindow, nullptr);
    EXPECT_EQ(cell_size, 32);
    EXPECT_EQ(file_exists(FOLDER_LOCK_FILE), c.lock_after != 0);
}

INSTANTIATE_TEST_SUITE_P(
    OneDovraPerFolder, LockNotHeldByAnother,
    ::testing::Values(unheld_lock_case{"left_behind_by_a_power_cut", [] { write_file(FOLDER_LOCK_FILE, ""); }, 0},
                      unheld_lock_case{"whose_name_a_folder_has_taken",
                                       [] { CreateDirectoryA(FOLDER_LOCK_FILE, NULL); }, 1}),
    [](const ::testing::TestParamInfo<unheld_lock_case>& info) { return info.param.name; });
