// artgen: builds the sixteen board pictures, the program icon and the web app's icons from the readable
// pixel maps in res/art.
//
// Usage: artgen ART_DIR OUT_DIR
// Reads ART_DIR/kind1.txt ... kind7.txt and ART_DIR/icon.txt, writes OUT_DIR/bitmaps/bitmap01.bmp ...
// bitmap16.bmp, OUT_DIR/dovra.ico and the same icon scaled up by whole pixels as OUT_DIR/web/icon-192.png
// and icon-512.png. Exit status 0 on success, 2 on unreadable or malformed sources or an output that cannot be
// written; nothing is written unless every source is good.
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "output_file.h"

namespace {

const int kKinds = 7;
const int kSmall = 16;      // small picture side; the large set doubles it
const int kBox = 11;        // piece box side in the small picture
const int kBoxFirst = 2;    // first column and row of the piece box
const int kIconSquares = 4; // the icon is kIconSquares x kIconSquares small squares
const int kIconSide = kIconSquares * kSmall;

// Colour table order: every picture and the icon index the same 256 entries.
const int kWhite = 0;
const int kGrid = 1;
const int kFirstKind = 2; // kind k uses entry kFirstKind + k - 1

struct Rgb {
  int r;
  int g;
  int b;
};

const Rgb kWhiteRgb = {255, 255, 255};
const Rgb kGridRgb = {32, 192, 255};

struct Art {
  Rgb colour[kKinds];
  unsigned char box[kKinds][kBox][kBox]; // 1 where the piece colour goes
  int icon[kIconSquares][kIconSquares];  // cell value of each icon square
};

int Fail(const std::string &where, const std::string &why) {
  std::fprintf(stderr, "artgen: %s: %s\n", where.c_str(), why.c_str());
  return 0;
}

// Reads a whole text file into lines without their line ends; comment (';') and blank lines are dropped,
// each kept line paired with its 1-based number for messages.
int ReadLines(const std::string &path, std::vector<std::string> &lines, std::vector<int> &numbers) {
  std::FILE *f = std::fopen(path.c_str(), "rb");
  if (!f)
    return Fail(path, "cannot be opened");
  std::string text;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, f)) > 0) {
    text.append(chunk, got);
    if (text.size() > 65536) {
      std::fclose(f);
      return Fail(path, "too large for a pixel map");
    }
  }
  int bad = std::ferror(f);
  std::fclose(f);
  if (bad)
    return Fail(path, "read error");
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos)
      end = text.size();
    std::string line = text.substr(start, end - start);
    start = end + 1;
    ++number;
    if (!line.empty() && line.back() == '\r')
      line.pop_back();
    if (line.empty() || line[0] == ';')
      continue;
    lines.push_back(line);
    numbers.push_back(number);
  }
  return 1;
}

std::string At(const std::string &path, int line) { return path + ":" + std::to_string(line); }

// Splits a line at spaces and tabs.
std::vector<std::string> Words(const std::string &line) {
  std::vector<std::string> words;
  size_t at = 0;
  while (at < line.size()) {
    size_t start = line.find_first_not_of(" \t", at);
    if (start == std::string::npos)
      break;
    size_t end = line.find_first_of(" \t", start);
    if (end == std::string::npos)
      end = line.size();
    words.push_back(line.substr(start, end - start));
    at = end;
  }
  return words;
}

// A decimal number of one to three digits and nothing else, so no text can overflow it.
int SmallNumber(const std::string &word, int &out) {
  if (word.empty() || word.size() > 3)
    return 0;
  out = 0;
  for (char ch : word) {
    if (ch < '0' || ch > '9')
      return 0;
    out = out * 10 + (ch - '0');
  }
  return 1;
}

// Parses "colour R G B" with each component 0..255 and nothing after it.
int ParseColour(const std::string &line, Rgb &out) {
  std::vector<std::string> w = Words(line);
  int v[3];
  if (w.size() != 4 || w[0] != "colour")
    return 0;
  for (int i = 0; i < 3; ++i)
    if (!SmallNumber(w[1 + i], v[i]) || v[i] > 255)
      return 0;
  out.r = v[0];
  out.g = v[1];
  out.b = v[2];
  return 1;
}

int SameRgb(const Rgb &a, const Rgb &b) { return a.r == b.r && a.g == b.g && a.b == b.b; }

int ReadKind(const std::string &dir, int kind, Art &art) {
  std::string path = dir + "/kind" + std::to_string(kind) + ".txt";
  std::vector<std::string> lines;
  std::vector<int> numbers;
  if (!ReadLines(path, lines, numbers))
    return 0;
  if (lines.size() != 1 + kBox)
    return Fail(path, "expected a colour line and 11 rows of 11 pixels");
  Rgb &c = art.colour[kind - 1];
  if (!ParseColour(lines[0], c))
    return Fail(At(path, numbers[0]), "expected \"colour R G B\" with components 0 to 255");
  if (SameRgb(c, kWhiteRgb) || SameRgb(c, kGridRgb))
    return Fail(At(path, numbers[0]), "a piece must not take the white or the grid colour");
  for (int y = 0; y < kBox; ++y) {
    const std::string &row = lines[1 + y];
    if (row.size() != kBox)
      return Fail(At(path, numbers[1 + y]), "a row must be exactly 11 pixels");
    for (int x = 0; x < kBox; ++x) {
      if (row[x] != 'X' && row[x] != '.')
        return Fail(At(path, numbers[1 + y]), "pixels are X (piece colour) or . (white)");
      art.box[kind - 1][y][x] = row[x] == 'X';
    }
  }
  return 1;
}

int ReadIcon(const std::string &dir, Art &art) {
  std::string path = dir + "/icon.txt";
  std::vector<std::string> lines;
  std::vector<int> numbers;
  if (!ReadLines(path, lines, numbers))
    return 0;
  if (lines.size() != kIconSquares)
    return Fail(path, "expected 4 rows of 4 cell values");
  for (int y = 0; y < kIconSquares; ++y) {
    std::vector<std::string> w = Words(lines[y]);
    if (w.size() != kIconSquares)
      return Fail(At(path, numbers[y]), "expected 4 cell values");
    for (int x = 0; x < kIconSquares; ++x) {
      int v;
      if (!SmallNumber(w[x], v) || v > kKinds)
        return Fail(At(path, numbers[y]), "a cell value is 0 (empty) or a kind 1 to 7");
      art.icon[y][x] = v;
    }
  }
  return 1;
}

// One small picture as colour-table indices, top row first. Value 0 is the empty square.
void SmallPicture(const Art &art, int value, unsigned char out[kSmall][kSmall]) {
  for (int y = 0; y < kSmall; ++y)
    for (int x = 0; x < kSmall; ++x)
      out[y][x] = (x == kSmall - 1 || y == kSmall - 1) ? kGrid : kWhite;
  if (value == 0)
    return;
  for (int y = 0; y < kBox; ++y)
    for (int x = 0; x < kBox; ++x)
      if (art.box[value - 1][y][x])
        out[kBoxFirst + y][kBoxFirst + x] = static_cast<unsigned char>(kFirstKind + value - 1);
}

void Put16(std::vector<unsigned char> &b, unsigned v) {
  b.push_back(static_cast<unsigned char>(v & 0xff));
  b.push_back(static_cast<unsigned char>((v >> 8) & 0xff));
}

void Put32(std::vector<unsigned char> &b, std::uint32_t v) {
  Put16(b, v & 0xffff);
  Put16(b, v >> 16);
}

// BITMAPINFOHEADER of an uncompressed 8-bit image with a full 256-entry table.
void PutInfoHeader(std::vector<unsigned char> &b, int width, int height, std::uint32_t image_bytes) {
  Put32(b, 40);
  Put32(b, static_cast<std::uint32_t>(width));
  Put32(b, static_cast<std::uint32_t>(height));
  Put16(b, 1); // planes
  Put16(b, 8); // bits per pixel
  Put32(b, 0); // BI_RGB
  Put32(b, image_bytes);
  Put32(b, 0); // no preferred resolution
  Put32(b, 0);
  Put32(b, 256); // colours used
  Put32(b, 0);   // all important
}

// Entries past the pieces' are black and never used.
void ColourTable(const Art &art, Rgb table[256]) {
  for (int i = 0; i < 256; ++i)
    table[i] = Rgb{0, 0, 0};
  table[kWhite] = kWhiteRgb;
  table[kGrid] = kGridRgb;
  for (int k = 0; k < kKinds; ++k)
    table[kFirstKind + k] = art.colour[k];
}

void PutColourTable(std::vector<unsigned char> &b, const Art &art) {
  Rgb table[256];
  ColourTable(art, table);
  for (int i = 0; i < 256; ++i) { // RGBQUAD order: blue, green, red, reserved
    b.push_back(static_cast<unsigned char>(table[i].b));
    b.push_back(static_cast<unsigned char>(table[i].g));
    b.push_back(static_cast<unsigned char>(table[i].r));
    b.push_back(0);
  }
}

int RowBytes(int width, int bits) { return (width * bits + 31) / 32 * 4; }

// pixels: side x side indices, top row first; scale 1 or 2 repeats each pixel in both directions.
std::vector<unsigned char> Bitmap(const Art &art, const unsigned char pixels[kSmall][kSmall], int scale) {
  int side = kSmall * scale;
  int stride = RowBytes(side, 8);
  std::uint32_t image = static_cast<std::uint32_t>(stride * side);
  std::uint32_t offset = 14 + 40 + 256 * 4;
  std::vector<unsigned char> b;
  b.push_back('B');
  b.push_back('M');
  Put32(b, offset + image);
  Put32(b, 0);
  Put32(b, offset);
  PutInfoHeader(b, side, side, image);
  PutColourTable(b, art);
  for (int y = side - 1; y >= 0; --y) { // bottom-up
    for (int x = 0; x < side; ++x)
      b.push_back(pixels[y / scale][x / scale]);
    for (int x = side; x < stride; ++x)
      b.push_back(0);
  }
  return b;
}

// The icon's image as colour-table indices, top row first.
void IconCanvas(const Art &art, unsigned char canvas[kIconSide][kIconSide]) {
  for (int sy = 0; sy < kIconSquares; ++sy)
    for (int sx = 0; sx < kIconSquares; ++sx) {
      unsigned char square[kSmall][kSmall];
      SmallPicture(art, art.icon[sy][sx], square);
      for (int y = 0; y < kSmall; ++y)
        for (int x = 0; x < kSmall; ++x)
          canvas[sy * kSmall + y][sx * kSmall + x] = square[y][x];
    }
}

std::vector<unsigned char> Icon(const Art &art, const unsigned char canvas[kIconSide][kIconSide]) {
  int xor_stride = RowBytes(kIconSide, 8);
  int and_stride = RowBytes(kIconSide, 1);
  std::uint32_t image = static_cast<std::uint32_t>((xor_stride + and_stride) * kIconSide);
  std::uint32_t entry_bytes = 40 + 256 * 4 + image;
  std::vector<unsigned char> b;
  Put16(b, 0); // ICONDIR: reserved, type 1 (icon), one image
  Put16(b, 1);
  Put16(b, 1);
  b.push_back(kIconSide); // ICONDIRENTRY
  b.push_back(kIconSide);
  b.push_back(0); // 256 colours or more
  b.push_back(0);
  Put16(b, 1); // planes
  Put16(b, 8); // bits per pixel
  Put32(b, entry_bytes);
  Put32(b, 6 + 16);
  PutInfoHeader(b, kIconSide, 2 * kIconSide, image); // height covers the XOR and the AND image
  PutColourTable(b, art);
  for (int y = kIconSide - 1; y >= 0; --y)
    for (int x = 0; x < xor_stride; ++x)
      b.push_back(x < kIconSide ? canvas[y][x] : 0);
  for (int i = 0; i < and_stride * kIconSide; ++i)
    b.push_back(0); // every pixel opaque
  return b;
}

// ---- PNG: an indexed-colour image in a zlib stream of our own, so the bytes depend on nothing outside ----

void PutBig32(std::vector<unsigned char> &b, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8)
    b.push_back(static_cast<unsigned char>((v >> shift) & 0xff));
}

std::uint32_t Crc32(const unsigned char *p, size_t n) {
  std::uint32_t crc = 0xffffffffu;
  for (size_t i = 0; i < n; ++i) {
    crc ^= p[i];
    for (int k = 0; k < 8; ++k)
      crc = (crc & 1) ? 0xedb88320u ^ (crc >> 1) : crc >> 1;
  }
  return ~crc;
}

std::uint32_t Adler32(const std::vector<unsigned char> &data) {
  std::uint32_t a = 1, b = 0;
  for (unsigned char c : data) {
    a = (a + c) % 65521;
    b = (b + a) % 65521;
  }
  return b << 16 | a;
}

// Deflate's bits: fields go least significant bit first, Huffman codes most significant bit first.
struct BitWriter {
  std::vector<unsigned char> &out;
  unsigned byte = 0;
  int used = 0;
  void Bit(unsigned bit) {
    byte |= bit << used;
    if (++used == 8) {
      out.push_back(static_cast<unsigned char>(byte));
      byte = 0;
      used = 0;
    }
  }
  void Field(unsigned value, int bits) {
    for (int i = 0; i < bits; ++i)
      Bit((value >> i) & 1);
  }
  void Code(unsigned code, int bits) {
    for (int i = bits - 1; i >= 0; --i)
      Bit((code >> i) & 1);
  }
  void Flush() {
    while (used)
      Bit(0);
  }
};

// A literal/length symbol in deflate's fixed code.
void Symbol(BitWriter &w, unsigned v) {
  if (v < 144)
    w.Code(0x30 + v, 8);
  else if (v < 256)
    w.Code(0x190 + v - 144, 9);
  else if (v < 280)
    w.Code(v - 256, 7);
  else
    w.Code(0xc0 + v - 280, 8);
}

// length 3..258, distance 1..32768
void Match(BitWriter &w, unsigned length, unsigned distance) {
  static const unsigned kLength[29] = {3,  4,  5,  6,  7,  8,  9,  10, 11,  13,  15,  17,  19,  23, 27,
                                       31, 35, 43, 51, 59, 67, 83, 99, 115, 131, 163, 195, 227, 258};
  static const unsigned kDistance[30] = {1,    2,    3,    4,    5,    7,    9,    13,    17,    25,
                                         33,   49,   65,   97,   129,  193,  257,  385,   513,   769,
                                         1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577};
  int l = 28;
  while (kLength[l] > length)
    --l;
  Symbol(w, 257 + l);
  w.Field(length - kLength[l], l < 8 || l == 28 ? 0 : (l - 4) / 4);
  int d = 29;
  while (kDistance[d] > distance)
    --d;
  w.Code(d, 5);
  w.Field(distance - kDistance[d], d < 4 ? 0 : d / 2 - 1);
}

// One fixed-code block. A picture scaled up by whole blocks repeats itself in two ways, so those are the only
// matches tried: the byte before (a run of one colour) and the same place in an earlier row.
std::vector<unsigned char> Zlib(const std::vector<unsigned char> &data, size_t row) {
  std::vector<unsigned char> out = {0x78, 0x01};
  BitWriter w{out};
  w.Field(1, 1); // last block
  w.Field(1, 2); // fixed codes
  size_t at = 0;
  while (at < data.size()) {
    size_t best = 0, best_distance = 0;
    for (size_t distance = 1; distance <= at && distance <= 32768; distance = distance == 1 ? row : distance + row) {
      size_t n = 0;
      while (n < 258 && at + n < data.size() && data[at + n] == data[at + n - distance])
        ++n;
      if (n > best) {
        best = n;
        best_distance = distance;
      }
    }
    if (best >= 3) {
      Match(w, static_cast<unsigned>(best), static_cast<unsigned>(best_distance));
      at += best;
    } else {
      Symbol(w, data[at++]);
    }
  }
  Symbol(w, 256);
  w.Flush();
  PutBig32(out, Adler32(data));
  return out;
}

void PutChunk(std::vector<unsigned char> &png, const char *type, const std::vector<unsigned char> &data) {
  PutBig32(png, static_cast<std::uint32_t>(data.size()));
  size_t start = png.size();
  png.insert(png.end(), type, type + 4);
  png.insert(png.end(), data.begin(), data.end());
  PutBig32(png, Crc32(&png[start], png.size() - start));
}

// The icon with each pixel a scale x scale block, opaque, its palette the colour table's used entries. No
// time or text chunk, so the same sources give the same bytes.
std::vector<unsigned char> Png(const Art &art, const unsigned char canvas[kIconSide][kIconSide], int scale) {
  int side = kIconSide * scale;
  std::vector<unsigned char> header;
  PutBig32(header, static_cast<std::uint32_t>(side));
  PutBig32(header, static_cast<std::uint32_t>(side));
  for (unsigned char v : {8, 3, 0, 0, 0}) // 8-bit indices, indexed colour, deflate, filters, no interlace
    header.push_back(v);
  Rgb table[256];
  ColourTable(art, table);
  std::vector<unsigned char> palette;
  for (int i = 0; i < kFirstKind + kKinds; ++i)
    for (int v : {table[i].r, table[i].g, table[i].b})
      palette.push_back(static_cast<unsigned char>(v));
  std::vector<unsigned char> rows;
  for (int y = 0; y < side; ++y) {
    rows.push_back(0); // filter: none
    for (int x = 0; x < side; ++x)
      rows.push_back(canvas[y / scale][x / scale]);
  }
  std::vector<unsigned char> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
  PutChunk(png, "IHDR", header);
  PutChunk(png, "PLTE", palette);
  PutChunk(png, "IDAT", Zlib(rows, static_cast<size_t>(side) + 1));
  PutChunk(png, "IEND", {});
  return png;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: artgen ART_DIR OUT_DIR\n");
    return 2;
  }
  std::string art_dir = argv[1];
  std::string out_dir = argv[2];
  static Art art;
  std::memset(&art, 0, sizeof art);
  for (int k = 1; k <= kKinds; ++k)
    if (!ReadKind(art_dir, k, art))
      return 2;
  if (!ReadIcon(art_dir, art))
    return 2;

  std::string bitmap_dir = out_dir + "/bitmaps";
  if (!make_folder("artgen", bitmap_dir))
    return 2;
  // Resources 1-7 small kinds, 8 small empty, 9-15 large kinds, 16 large empty.
  for (int resource = 1; resource <= 16; ++resource) {
    int large = resource > 8;
    int value = (resource - 1) % 8 + 1;
    if (value == 8)
      value = 0;
    unsigned char pixels[kSmall][kSmall];
    SmallPicture(art, value, pixels);
    char name[32];
    std::snprintf(name, sizeof name, "/bitmap%02d.bmp", resource);
    if (!write_output("artgen", bitmap_dir + name, Bitmap(art, pixels, large ? 2 : 1)))
      return 2;
  }
  static unsigned char canvas[kIconSide][kIconSide];
  IconCanvas(art, canvas);
  if (!write_output("artgen", out_dir + "/dovra.ico", Icon(art, canvas)))
    return 2;
  // The web app manifest's two icon sizes.
  std::string web_dir = out_dir + "/web";
  if (!make_folder("artgen", web_dir))
    return 2;
  for (int scale : {3, 8}) {
    std::string name = "/icon-" + std::to_string(kIconSide * scale) + ".png";
    if (!write_output("artgen", web_dir + name, Png(art, canvas, scale)))
      return 2;
  }
  return 0;
}
