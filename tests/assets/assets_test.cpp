// assets_test: regenerates the board pictures, the icons and the sounds and holds the committed files to them,
// then checks those files for what the board painter, the window class, the web app and the sound player rely on.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "common/files.h"

namespace {

namespace fs = std::filesystem;
typedef std::vector<unsigned char> Bytes;

struct Rgb {
  int r;
  int g;
  int b;
};

bool operator==(const Rgb &a, const Rgb &b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

const Rgb kWhite = {255, 255, 255};
const Rgb kGrid = {32, 192, 255};
const Rgb kKindColour[8] = {{0, 0, 0},     {160, 32, 0},  {0, 160, 64}, {0, 0, 255},
                            {255, 0, 255}, {255, 128, 0}, {255, 0, 0},  {32, 0, 0}};

const char *const kSounds[] = {"move.wav", "woops.wav", "drop.wav", "zip.wav", "gameover.wav", "winner.wav"};

std::string SourceDir() {
  const char *dir = std::getenv("DOVRA_SOURCE_DIR");
  return dir && *dir ? dir : DOVRA_DEFAULT_SOURCE_DIR;
}

std::string BitmapName(int resource) {
  char name[32];
  std::snprintf(name, sizeof name, "bitmaps/bitmap%02d.bmp", resource);
  return name;
}

// Every generated file, relative to the res folder.
std::vector<std::string> GeneratedFiles() {
  std::vector<std::string> files;
  for (int r = 1; r <= 16; ++r)
    files.push_back(BitmapName(r));
  files.push_back("dovra.ico");
  files.push_back("web/icon-192.png");
  files.push_back("web/icon-512.png");
  for (const char *s : kSounds)
    files.push_back(std::string("sounds/") + s);
  return files;
}

// Whole file, or empty with ok 0 when it cannot be read or is implausibly large for an asset.
Bytes ReadAll(const std::string &path, int &ok) {
  Bytes b;
  ok = 0;
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (!f)
    return b;
  unsigned char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0 && b.size() <= (1u << 20))
    b.insert(b.end(), chunk, chunk + got);
  ok = !std::ferror(f) && b.size() <= (1u << 20);
  std::fclose(f);
  return b;
}

Bytes ReadRes(const std::string &name) {
  int ok;
  Bytes b = ReadAll(SourceDir() + "/res/" + name, ok);
  EXPECT_TRUE(ok) << "cannot read res/" << name;
  return b;
}

// Little-endian fields read with bounds checks: out-of-range reads give 0 and clear ok.
struct Cursor {
  const Bytes *b;
  int ok;
};

unsigned U8(Cursor &c, size_t at) {
  if (at >= c.b->size()) {
    c.ok = 0;
    return 0;
  }
  return (*c.b)[at];
}

unsigned U16(Cursor &c, size_t at) { return U8(c, at) | U8(c, at + 1) << 8; }

unsigned long U32(Cursor &c, size_t at) { return U16(c, at) | static_cast<unsigned long>(U16(c, at + 2)) << 16; }

long S32(Cursor &c, size_t at) {
  unsigned long v = U32(c, at);
  return v >= 0x80000000ul ? static_cast<long>(v - 0x80000000ul) - 0x7fffffffl - 1 : static_cast<long>(v);
}

std::string Tag(Cursor &c, size_t at) {
  std::string s;
  for (size_t i = 0; i < 4; ++i)
    s += static_cast<char>(U8(c, at + i));
  return s;
}

// An 8-bit image decoded to colours, top row first.
struct Image {
  int width = 0;
  int height = 0;
  Bytes table; // 256 RGBQUADs as stored
  std::vector<Rgb> pixels;
  Rgb At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

// Reads a BITMAPINFOHEADER, its 256-entry table and its bottom-up 8-bit rows at offset `at`; the header's
// height may be twice the image (icons), rows counts the image rows. Failures go to why.
int ReadDib(Cursor &c, size_t at, int rows, Image &img, std::string &why) {
  if (U32(c, at) != 40) {
    why = "info header size is not 40";
    return 0;
  }
  long width = S32(c, at + 4);
  long height = S32(c, at + 8);
  if (width < 1 || width > 256 || height < 1 || height > 512 || (height != rows && height != 2 * rows)) {
    why = "bad size or not bottom-up";
    return 0;
  }
  if (U16(c, at + 12) != 1 || U16(c, at + 14) != 8) {
    why = "not one plane of 8 bits per pixel";
    return 0;
  }
  if (U32(c, at + 16) != 0) {
    why = "compressed";
    return 0;
  }
  unsigned long used = U32(c, at + 32);
  if (used != 0 && used != 256) {
    why = "colour table is not 256 entries";
    return 0;
  }
  size_t table = at + 40;
  size_t stride = (static_cast<size_t>(width) + 3) / 4 * 4;
  size_t data = table + 1024;
  if (c.b->size() < data + stride * rows) {
    why = "file too short for its pixels";
    return 0;
  }
  img.width = static_cast<int>(width);
  img.height = rows;
  img.table.assign(c.b->begin() + static_cast<long>(table), c.b->begin() + static_cast<long>(data));
  img.pixels.clear();
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < img.width; ++x) {
      size_t row = data + stride * static_cast<size_t>(rows - 1 - y);
      unsigned i = U8(c, row + x);
      img.pixels.push_back(Rgb{static_cast<int>(img.table[i * 4 + 2]), static_cast<int>(img.table[i * 4 + 1]),
                               static_cast<int>(img.table[i * 4])});
    }
  return c.ok;
}

int ReadBmp(const Bytes &b, Image &img, std::string &why) {
  Cursor c = {&b, 1};
  if (b.size() < 54 || Tag(c, 0).substr(0, 2) != "BM") {
    why = "not a BMP file";
    return 0;
  }
  if (U32(c, 2) != b.size() || U32(c, 6) != 0 || U32(c, 10) != 14 + 40 + 1024) {
    why = "file header size, reserved or offset wrong";
    return 0;
  }
  long height = S32(c, 22);
  if (height < 1 || height > 256) {
    why = "height not positive (top-down) or too large";
    return 0;
  }
  if (!ReadDib(c, 14, static_cast<int>(height), img, why))
    return 0;
  size_t stride = (static_cast<size_t>(img.width) + 3) / 4 * 4;
  unsigned long image = U32(c, 34);
  if ((image != 0 && image != stride * img.height) || b.size() != 14 + 40 + 1024 + stride * img.height) {
    why = "image size does not match the rows";
    return 0;
  }
  return 1;
}

// Resources 1-8 are the small set (8 the empty square), 9-16 the large set.
int KindOf(int resource) { return resource % 8; }
int ScaleOf(int resource) { return resource > 8 ? 2 : 1; }

Image LoadBitmap(int resource) {
  Image img;
  std::string why;
  EXPECT_TRUE(ReadBmp(ReadRes(BitmapName(resource)), img, why)) << BitmapName(resource) << ": " << why;
  return img;
}

// Runs a command line through the shell, returning its exit status, or -1 when it did not exit normally
// (a crash or a sanitizer abort by signal).
int RunCommand(const std::string &command) {
  int status = std::system(command.c_str());
  if (status == -1 || !WIFEXITED(status))
    return -1;
  return WEXITSTATUS(status);
}

std::string Quote(const std::string &s) {
  std::string q = "'";
  for (char ch : s)
    q += ch == '\'' ? std::string("'\\''") : std::string(1, ch);
  return q + "'";
}

// The generators write into the test's own temporary folder, named by its full path.
class TempDirTest : public TempFolderTest {
protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    dir_ = folder().string();
  }
  std::string dir_;
};

// ---- Regeneration ----

class Regenerate : public TempDirTest {};

TEST_F(Regenerate, GeneratorsReproduceEveryCommittedFileByteForByte) {
  ASSERT_EQ(RunCommand(Quote(DOVRA_ARTGEN) + " " + Quote(SourceDir() + "/res/art") + " " + Quote(dir_)), 0);
  ASSERT_EQ(RunCommand(Quote(DOVRA_WAVGEN) + " " + Quote(dir_ + "/sounds")), 0);
  for (const std::string &name : GeneratedFiles()) {
    SCOPED_TRACE(name);
    int ok_new, ok_old;
    Bytes fresh = ReadAll(dir_ + "/" + name, ok_new);
    Bytes committed = ReadAll(SourceDir() + "/res/" + name, ok_old);
    ASSERT_TRUE(ok_new) << "not generated";
    ASSERT_TRUE(ok_old) << "not committed";
    ASSERT_EQ(fresh.size(), committed.size()) << "run the regenerate_assets target and commit the result";
    size_t first = 0;
    while (first < fresh.size() && fresh[first] == committed[first])
      ++first;
    EXPECT_EQ(first, fresh.size()) << "first difference at byte " << first
                                   << "; run the regenerate_assets target and commit the result";
  }
}

// ---- Pictures ----

class Picture : public ::testing::TestWithParam<int> {};

TEST_P(Picture, IsAnUncompressedBottomUp8BitDibOfItsSize) {
  int r = GetParam();
  Image img = LoadBitmap(r);
  EXPECT_EQ(img.width, 16 * ScaleOf(r));
  EXPECT_EQ(img.height, 16 * ScaleOf(r));
}

TEST_P(Picture, SharesTheColourTableOfPictureOne) {
  Image first = LoadBitmap(1);
  Image img = LoadBitmap(GetParam());
  ASSERT_EQ(first.table.size(), 1024u);
  EXPECT_TRUE(img.table == first.table);
}

// White ground, grid on the right and bottom edges one sixteenth thick, the piece only inside its box and
// only in its own colour.
TEST_P(Picture, HasWhiteGroundGridEdgesAndPieceOnlyInItsBox) {
  int r = GetParam();
  int s = ScaleOf(r);
  int kind = KindOf(r);
  Image img = LoadBitmap(r);
  ASSERT_EQ(img.pixels.size(), static_cast<size_t>(256 * s * s));
  int side = 16 * s;
  int pieces = 0;
  for (int y = 0; y < side; ++y)
    for (int x = 0; x < side; ++x) {
      SCOPED_TRACE("pixel " + std::to_string(x) + "," + std::to_string(y));
      Rgb p = img.At(x, y);
      int grid = x >= side - s || y >= side - s;
      int in_box = x >= 2 * s && x <= 13 * s - 1 && y >= 2 * s && y <= 13 * s - 1;
      if (grid) {
        ASSERT_TRUE(p == kGrid);
      } else if (!in_box || kind == 0) {
        ASSERT_TRUE(p == kWhite);
      } else {
        ASSERT_TRUE(p == kWhite || p == kKindColour[kind]);
        pieces += p == kKindColour[kind];
      }
    }
  if (kind != 0) {
    EXPECT_GT(pieces, 0);
  }
}

// The piece spans its box exactly: it reaches the first and last column and row of the box.
TEST_P(Picture, PieceTouchesAllFourSidesOfTheBox) {
  int r = GetParam();
  int kind = KindOf(r);
  if (kind == 0)
    return;
  int s = ScaleOf(r);
  Image img = LoadBitmap(r);
  int lo = 2 * s, hi = 13 * s - 1;
  int left = 0, right = 0, top = 0, bottom = 0;
  for (int i = lo; i <= hi; ++i) {
    left += img.At(lo, i) == kKindColour[kind];
    right += img.At(hi, i) == kKindColour[kind];
    top += img.At(i, lo) == kKindColour[kind];
    bottom += img.At(i, hi) == kKindColour[kind];
  }
  EXPECT_GT(left, 0);
  EXPECT_GT(right, 0);
  EXPECT_GT(top, 0);
  EXPECT_GT(bottom, 0);
}

INSTANTIATE_TEST_SUITE_P(AllSixteen, Picture, ::testing::Range(1, 17));

TEST(Pictures, LargeSetIsTheSmallSetWithEveryPixelDoubled) {
  for (int r = 1; r <= 8; ++r) {
    SCOPED_TRACE(BitmapName(r));
    Image small = LoadBitmap(r);
    Image large = LoadBitmap(r + 8);
    ASSERT_EQ(small.pixels.size(), 256u);
    ASSERT_EQ(large.pixels.size(), 1024u);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x)
        ASSERT_TRUE(large.At(x, y) == small.At(x / 2, y / 2)) << x << "," << y;
  }
}

// Piece pixels of a small picture as a 11 x 11 map of the box.
std::vector<int> BoxMap(int resource) {
  Image img = LoadBitmap(resource);
  std::vector<int> map(121, 0);
  if (img.pixels.size() != 256)
    return map;
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 11; ++x)
      map[y * 11 + x] = !(img.At(2 + x, 2 + y) == kWhite);
  return map;
}

int Count(const std::vector<int> &map) {
  int n = 0;
  for (int v : map)
    n += v;
  return n;
}

TEST(Pictures, DiamondIsTheFullSquareOnItsCorner) {
  std::vector<int> map = BoxMap(3);
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 11; ++x)
      EXPECT_EQ(map[y * 11 + x], std::abs(x - 5) + std::abs(y - 5) <= 5) << x << "," << y;
}

TEST(Pictures, SymmetricPiecesAreMirrorImagesLeftToRight) {
  for (int kind : {1, 2, 3, 4, 5, 6}) {
    std::vector<int> map = BoxMap(kind);
    for (int y = 0; y < 11; ++y)
      for (int x = 0; x < 5; ++x)
        EXPECT_EQ(map[y * 11 + x], map[y * 11 + 10 - x]) << "kind " << kind << " at " << x << "," << y;
  }
}

// Kinds 2 and 5 share the face and differ in filled against outline drawing; skull and house are outlines,
// diamond and heart solid.
TEST(Pictures, FilledPiecesAreFilledAndOutlinesAreOutlines) {
  EXPECT_GT(Count(BoxMap(2)), 2 * Count(BoxMap(5)));
  for (int kind : {1, 4, 5})
    EXPECT_LT(Count(BoxMap(kind)), 60) << "kind " << kind;
  for (int kind : {2, 3, 6})
    EXPECT_GT(Count(BoxMap(kind)), 60) << "kind " << kind;
}

// The mine's highlight: a white pixel in the upper left quarter of the box with the body all round it.
TEST(Pictures, MineHasAWhiteHighlightInsideItsBodyAtTheUpperLeft) {
  std::vector<int> map = BoxMap(7);
  int found = 0;
  for (int y = 1; y < 5; ++y)
    for (int x = 1; x < 5; ++x)
      found |= !map[y * 11 + x] && map[(y - 1) * 11 + x] && map[(y + 1) * 11 + x] && map[y * 11 + x - 1] &&
               map[y * 11 + x + 1];
  EXPECT_TRUE(found);
}

// ---- Icon ----

TEST(Icon, IsOne64x64EightBitImageWithAFullTableAndAnOpaqueMask) {
  Bytes b = ReadRes("dovra.ico");
  Cursor c = {&b, 1};
  ASSERT_GE(b.size(), 22u);
  EXPECT_EQ(U16(c, 0), 0u);
  EXPECT_EQ(U16(c, 2), 1u); // icon, not cursor
  ASSERT_EQ(U16(c, 4), 1u); // one image
  EXPECT_EQ(U8(c, 6), 64u);
  EXPECT_EQ(U8(c, 7), 64u);
  EXPECT_EQ(U8(c, 8), 0u); // 256 colours
  EXPECT_EQ(U16(c, 12), 8u);
  unsigned long bytes = U32(c, 14);
  unsigned long offset = U32(c, 18);
  ASSERT_EQ(offset, 22u);
  ASSERT_EQ(offset + bytes, b.size());
  EXPECT_EQ(S32(c, offset + 8), 128) << "height must cover the colour image and the mask";
  Image img;
  std::string why;
  ASSERT_TRUE(ReadDib(c, offset, 64, img, why)) << why;
  ASSERT_EQ(img.width, 64);
  size_t mask = offset + 40 + 1024 + 64 * 64;
  ASSERT_EQ(b.size(), mask + 64 * 8) << "mask rows are 8 bytes";
  for (size_t i = mask; i < b.size(); ++i)
    ASSERT_EQ(b[i], 0) << "mask byte " << i - mask << " makes pixels transparent";
}

// The icon's one image, which starts after the 6-byte directory and its 16-byte entry.
Image LoadIcon() {
  Bytes b = ReadRes("dovra.ico");
  Cursor c = {&b, 1};
  Image img;
  std::string why;
  EXPECT_TRUE(ReadDib(c, 22, 64, img, why)) << why;
  return img;
}

// A miniature board: white squares, light-blue grid lines across it and pieces of several kinds.
TEST(Icon, ShowsPiecesOfSeveralKindsOnAGriddedBoard) {
  Image img = LoadIcon();
  ASSERT_EQ(img.pixels.size(), 64u * 64u);
  int kinds_seen[8] = {0};
  int whites = 0;
  for (const Rgb &p : img.pixels) {
    int known = p == kWhite || p == kGrid;
    whites += p == kWhite;
    for (int k = 1; k <= 7; ++k)
      if (p == kKindColour[k]) {
        kinds_seen[k] = 1;
        known = 1;
      }
    EXPECT_TRUE(known) << "colour " << p.r << "," << p.g << "," << p.b;
  }
  int kinds = 0;
  for (int k = 1; k <= 7; ++k)
    kinds += kinds_seen[k];
  EXPECT_GE(kinds, 3);
  EXPECT_GT(whites, 64 * 64 / 3);
  int grid_rows = 0, grid_cols = 0;
  for (int i = 0; i < 64; ++i) {
    int row = 1, col = 1;
    for (int j = 0; j < 64; ++j) {
      row &= img.At(j, i) == kGrid;
      col &= img.At(i, j) == kGrid;
    }
    grid_rows += row;
    grid_cols += col;
  }
  EXPECT_GE(grid_rows, 2);
  EXPECT_GE(grid_cols, 2);
}

class WebIcon : public TempDirTest {};

// Read by a decoder not our own, each web icon is the icon's pixels, each a whole opaque block.
TEST_F(WebIcon, DecodesToTheIconWithEveryPixelAWholeOpaqueBlock) {
  Image icon = LoadIcon();
  ASSERT_EQ(icon.pixels.size(), 64u * 64u);
  for (int side : {192, 512}) {
    std::string name = "web/icon-" + std::to_string(side) + ".png";
    SCOPED_TRACE(name);
    std::string rgba = dir_ + "/icon.rgba";
    std::string png = Quote(SourceDir() + "/res/" + name);
    ASSERT_EQ(RunCommand("/usr/bin/convert " + png + " -depth 8 " + Quote("rgba:" + rgba)), 0);
    int ok;
    Bytes p = ReadAll(rgba, ok);
    ASSERT_TRUE(ok);
    ASSERT_EQ(p.size(), static_cast<size_t>(side * side * 4));
    int scale = side / 64;
    for (int y = 0; y < side; ++y)
      for (int x = 0; x < side; ++x) {
        const unsigned char *q = &p[static_cast<size_t>(y * side + x) * 4];
        Rgb colour = {q[0], q[1], q[2]};
        ASSERT_TRUE(colour == icon.At(x / scale, y / scale) && q[3] == 255) << x << "," << y;
      }
  }
}

// ---- Sounds ----

struct SoundCase {
  const char *name;
  int min_ms;
  int max_ms; // exclusive
};

void PrintTo(const SoundCase &s, std::ostream *os) { *os << s.name; }

class Sound : public ::testing::TestWithParam<SoundCase> {};

// Parsed canonical PCM WAV: samples scaled to -1..1.
struct Pcm {
  int bits = 0;
  std::vector<double> samples;
};

int ReadWav(const Bytes &b, Pcm &pcm, std::string &why) {
  Cursor c = {&b, 1};
  if (b.size() < 44 || Tag(c, 0) != "RIFF" || Tag(c, 8) != "WAVE" || Tag(c, 12) != "fmt " || Tag(c, 36) != "data") {
    why = "not a canonical RIFF WAVE file";
    return 0;
  }
  if (U32(c, 4) != b.size() - 8 || U32(c, 16) != 16 || U32(c, 40) != b.size() - 44) {
    why = "chunk sizes do not match the file";
    return 0;
  }
  unsigned bits = U16(c, 34);
  if (U16(c, 20) != 1 || U16(c, 22) != 1 || U32(c, 24) != 22050 || (bits != 8 && bits != 16)) {
    why = "not mono PCM at 22050 Hz with 8 or 16 bits";
    return 0;
  }
  if (U16(c, 32) != bits / 8 || U32(c, 28) != 22050ul * (bits / 8) || (b.size() - 44) % (bits / 8) != 0) {
    why = "block align or byte rate wrong";
    return 0;
  }
  pcm.bits = static_cast<int>(bits);
  for (size_t at = 44; at < b.size(); at += bits / 8) {
    if (bits == 8)
      pcm.samples.push_back((static_cast<int>(b[at]) - 128) / 128.0);
    else {
      int v = static_cast<int>(U16(c, at));
      pcm.samples.push_back((v >= 32768 ? v - 65536 : v) / 32768.0);
    }
  }
  return 1;
}

TEST_P(Sound, IsMonoPcmAt22050HzOfTheRightLength) {
  const SoundCase &s = GetParam();
  Pcm pcm;
  std::string why;
  ASSERT_TRUE(ReadWav(ReadRes(std::string("sounds/") + s.name), pcm, why)) << why;
  double ms = pcm.samples.size() * 1000.0 / 22050.0;
  EXPECT_GE(ms, s.min_ms);
  EXPECT_LT(ms, s.max_ms);
}

// Audible, never clipped, and starting and ending at silence so playback does not click.
TEST_P(Sound, IsAudibleUnclippedAndStartsAndEndsSilent) {
  const SoundCase &s = GetParam();
  Pcm pcm;
  std::string why;
  ASSERT_TRUE(ReadWav(ReadRes(std::string("sounds/") + s.name), pcm, why)) << why;
  ASSERT_GT(pcm.samples.size(), 100u);
  double peak = 0.0;
  for (double v : pcm.samples)
    peak = std::max(peak, std::abs(v));
  EXPECT_GT(peak, 0.1);
  EXPECT_LT(peak, 0.99);
  EXPECT_LT(std::abs(pcm.samples.front()), 0.01);
  EXPECT_LT(std::abs(pcm.samples.back()), 0.01);
}

INSTANTIATE_TEST_SUITE_P(AllSix, Sound,
                         ::testing::Values(SoundCase{"move.wav", 20, 100}, SoundCase{"drop.wav", 20, 100},
                                           SoundCase{"woops.wav", 100, 400}, SoundCase{"zip.wav", 150, 500},
                                           SoundCase{"gameover.wav", 400, 1100},
                                           SoundCase{"winner.wav", 400, 1200}),
                         [](const ::testing::TestParamInfo<SoundCase> &info) {
                           std::string n = info.param.name;
                           return n.substr(0, n.find('.'));
                         });

TEST(Sounds, AllSixTogetherStayUnder100KB) {
  size_t total = 0;
  for (const char *s : kSounds)
    total += ReadRes(std::string("sounds/") + s).size();
  EXPECT_LT(total, 100000u);
}

// ---- Generators on bad input ----

struct BadArt {
  const char *label;
  const char *file; // file in the art folder to replace, or to delete when remove is 1
  int remove;
  std::string text;
};

void PrintTo(const BadArt &bad, std::ostream *os) { *os << bad.label; }

class BadArtSource : public TempDirTest, public ::testing::WithParamInterface<BadArt> {};

// A damaged source is refused with status 2, without a crash and without writing any picture.
TEST_P(BadArtSource, IsRefusedAndNothingIsWritten) {
  const BadArt &bad = GetParam();
  std::string art = dir_ + "/art";
  std::string out = dir_ + "/out";
  std::error_code ec;
  fs::copy(SourceDir() + "/res/art", art, fs::copy_options::recursive, ec);
  ASSERT_FALSE(ec) << ec.message();
  if (bad.remove) {
    ASSERT_TRUE(fs::remove(art + "/" + bad.file, ec));
  } else {
    write_file(art + "/" + bad.file, bad.text);
  }
  EXPECT_EQ(RunCommand(Quote(DOVRA_ARTGEN) + " " + Quote(art) + " " + Quote(out) + " 2>/dev/null"), 2);
  EXPECT_FALSE(fs::exists(out + "/dovra.ico"));
  EXPECT_FALSE(fs::exists(out + "/bitmaps/bitmap01.bmp"));
  EXPECT_FALSE(fs::exists(out + "/web"));
}

const char kGoodRows[] = "...XXXXX...\n..XXXXXXX..\n.XXXXXXXXX.\nXXXXXXXXXXX\nXXXXXXXXXXX\nXXXXXXXXXXX\n"
                         "XXXXXXXXXXX\nXXXXXXXXXXX\n.XXXXXXXXX.\n..XXXXXXX..\n...XXXXX...\n";

std::string Kind(const char *colour, const char *rows) { return std::string(colour) + "\n" + rows; }

const std::string kShortRow = Kind("colour 1 2 3", "...XXXX...\n") + std::string(kGoodRows).substr(12);
const std::string kBadChar = Kind("colour 1 2 3", "...XXoXX...\n") + std::string(kGoodRows).substr(12);
const std::string kNoColour = kGoodRows;
const std::string kBigComponent = Kind("colour 1 256 3", kGoodRows);
const std::string kNegative = Kind("colour -1 2 3", kGoodRows);
const std::string kTrailing = Kind("colour 1 2 3 4", kGoodRows);
const std::string kWhitePiece = Kind("colour 255 255 255", kGoodRows);
const std::string kTwelveRows = Kind("colour 1 2 3", kGoodRows) + "XXXXXXXXXXX\n";
const std::string kTenRows = Kind("colour 1 2 3", kGoodRows).substr(0, 13 + 120);
const char kJunkHead[] = {'\0', '\xff', '\x89', 'P', 'N', 'G', '\r', '\n', '\x1a',
                          '\n', '\0',   'c',    'o', 'l', 'o', 'u', 'r'};
const std::string kJunk = std::string(kJunkHead, sizeof kJunkHead) + std::string(3000, '\x7f');
const std::string kHuge = "; " + std::string(70000, 'X') + "\n";

INSTANTIATE_TEST_SUITE_P(
    Damaged, BadArtSource,
    ::testing::Values(BadArt{"MissingKind", "kind4.txt", 1, ""},
                      BadArt{"MissingIcon", "icon.txt", 1, ""},
                      BadArt{"ShortRow", "kind1.txt", 0, kShortRow},
                      BadArt{"StrangePixel", "kind2.txt", 0, kBadChar},
                      BadArt{"NoColourLine", "kind3.txt", 0, kNoColour},
                      BadArt{"ComponentAbove255", "kind5.txt", 0, kBigComponent},
                      BadArt{"NegativeComponent", "kind6.txt", 0, kNegative},
                      BadArt{"TextAfterColour", "kind7.txt", 0, kTrailing},
                      BadArt{"WhitePiece", "kind1.txt", 0, kWhitePiece},
                      BadArt{"TwelveRows", "kind2.txt", 0, kTwelveRows},
                      BadArt{"TenRows", "kind3.txt", 0, kTenRows},
                      BadArt{"BinaryJunk", "kind4.txt", 0, kJunk},
                      BadArt{"EmptyFile", "kind5.txt", 0, ""},
                      BadArt{"HugeFile", "kind6.txt", 0, kHuge},
                      BadArt{"IconValue8", "icon.txt", 0, "1 2 3 4\n1 2 3 4\n1 2 3 8\n1 2 3 4\n"},
                      BadArt{"IconNegative", "icon.txt", 0, "1 2 3 4\n1 2 3 4\n1 -1 3 4\n1 2 3 4\n"},
                      BadArt{"IconThreeColumns", "icon.txt", 0, "1 2 3\n1 2 3 4\n1 2 3 4\n1 2 3 4\n"},
                      BadArt{"IconFiveRows", "icon.txt", 0, "1 2 3 4\n1 2 3 4\n1 2 3 4\n1 2 3 4\n0 0 0 0\n"},
                      BadArt{"IconHugeNumber", "icon.txt", 0, "1 2 3 4\n1 2 3 4\n1 2 3 99999999999999999999\n"
                                                              "1 2 3 4\n"}),
    [](const ::testing::TestParamInfo<BadArt> &info) { return std::string(info.param.label); });

class GeneratorOutput : public TempDirTest {};

// An output folder that cannot be made (a plain file stands in its way) is refused with status 2.
TEST_F(GeneratorOutput, UnwritableDestinationsAreRefused) {
  write_file(dir_ + "/blocker", "not a folder");
  EXPECT_EQ(RunCommand(Quote(DOVRA_ARTGEN) + " " + Quote(SourceDir() + "/res/art") + " " + Quote(dir_ + "/blocker") +
                " 2>/dev/null"),
            2);
  EXPECT_EQ(RunCommand(Quote(DOVRA_WAVGEN) + " " + Quote(dir_ + "/blocker/sounds") + " 2>/dev/null"), 2);
}

TEST_F(GeneratorOutput, WrongArgumentCountsAreRefused) {
  EXPECT_EQ(RunCommand(Quote(DOVRA_ARTGEN) + " 2>/dev/null"), 2);
  EXPECT_EQ(RunCommand(Quote(DOVRA_ARTGEN) + " a b c 2>/dev/null"), 2);
  EXPECT_EQ(RunCommand(Quote(DOVRA_WAVGEN) + " 2>/dev/null"), 2);
  EXPECT_EQ(RunCommand(Quote(DOVRA_WAVGEN) + " a b 2>/dev/null"), 2);
}

} // namespace
