// wavgen: synthesises the six sound effects of the game as mono 16-bit 22050 Hz PCM WAV files.
//
// Usage: wavgen OUT_DIR
// Writes OUT_DIR/move.wav, woops.wav, drop.wav, zip.wav, gameover.wav and winner.wav. Exit status 0 on
// success, 2 when an output cannot be written.
//
// The output must be the same bytes on every machine, so the synthesis uses only IEEE basic arithmetic
// (+, -, *, /, floor and exact scaling by powers of two): sine and exp are computed here instead of taken
// from the maths library, whose last bits differ between versions, and the noise comes from a fixed seed.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "output_file.h"

namespace {

const int kRate = 22050;
const double kPi = 3.14159265358979323846;
const double kLn2 = 0.69314718055994530942;

typedef std::vector<double> Wave;

// sin(2 pi cycles), good to about 1e-9.
double Sine(double cycles) {
  double c = cycles - std::floor(cycles); // 0 <= c < 1
  double x = (c < 0.5 ? c : c - 1.0) * 2.0 * kPi; // -pi <= x < pi
  if (x > kPi / 2)
    x = kPi - x;
  else if (x < -kPi / 2)
    x = -kPi - x;
  double x2 = x * x;
  double term = x;
  double sum = x;
  for (int n = 1; n <= 9; ++n) {
    term *= -x2 / ((2.0 * n) * (2.0 * n + 1.0));
    sum += term;
  }
  return sum;
}

// e^x for the modest arguments used here.
double Exp(double x) {
  double n = std::floor(x / kLn2 + 0.5);
  double r = x - n * kLn2; // |r| <= ln2 / 2
  double term = 1.0;
  double sum = 1.0;
  for (int k = 1; k <= 16; ++k) {
    term *= r / k;
    sum += term;
  }
  return std::ldexp(sum, static_cast<int>(n));
}

double Octaves(double octaves) { return Exp(octaves * kLn2); }

// Fixed-seed xorshift noise, uniform in [-1, 1).
struct Noise {
  std::uint32_t state;
};

double NextNoise(Noise &n) {
  n.state ^= n.state << 13;
  n.state ^= n.state >> 17;
  n.state ^= n.state << 5;
  return static_cast<double>(n.state) / 2147483648.0 - 1.0;
}

int Samples(double ms) { return static_cast<int>(ms * kRate / 1000.0); }

// Linear rise over attack seconds and fall over the last release seconds of a note lasting len seconds,
// so that no note starts or stops with a jump.
double Gate(double t, double len, double attack, double release) {
  if (t < 0.0 || t >= len)
    return 0.0;
  double g = 1.0;
  if (t < attack)
    g = t / attack;
  if (len - t < release) {
    double r = (len - t) / release;
    if (r < g)
      g = r;
  }
  return g;
}

// A fall from 1 to 0 over len seconds, curved like a struck body's decay: (1 - t/len)^power.
double Fall(double t, double len, int power) {
  if (t >= len)
    return 0.0;
  double u = 1.0 - t / len;
  double v = 1.0;
  for (int i = 0; i < power; ++i)
    v *= u;
  return v;
}

// Adds a tone of the given harmonic amplitudes to out, starting at start seconds and lasting len seconds,
// its pitch gliding from f0 to f1 along an exponential curve; vibrato_depth is a fraction of the pitch.
// Harmonics above 10 kHz are left out so nothing folds back below the Nyquist limit.
void AddTone(Wave &out, double start, double len, double f0, double f1, const double *harmonics, int count,
             double level, double attack, double release, double vibrato_rate, double vibrato_depth) {
  int first = static_cast<int>(start * kRate);
  int n = static_cast<int>(len * kRate);
  double phase = 0.0;
  double octaves = 0.0;
  if (f1 != f0) {
    // log2(f1 / f0) by bisection keeps to basic arithmetic.
    double lo = -8.0, hi = 8.0;
    for (int i = 0; i < 60; ++i) {
      double mid = (lo + hi) / 2.0;
      if (f0 * Octaves(mid) < f1)
        lo = mid;
      else
        hi = mid;
    }
    octaves = (lo + hi) / 2.0;
  }
  for (int i = 0; i < n && first + i < static_cast<int>(out.size()); ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = f0 * Octaves(octaves * t / len);
    if (vibrato_depth > 0.0)
      f *= 1.0 + vibrato_depth * Sine(vibrato_rate * t);
    double s = 0.0;
    for (int h = 0; h < count; ++h)
      if (f * (h + 1) < 10000.0)
        s += harmonics[h] * Sine(phase * (h + 1));
    out[first + i] += level * Gate(t, len, attack, release) * s;
    phase += f / kRate;
    phase -= std::floor(phase);
  }
}

// Scales the wave so its loudest sample is peak (of full scale) and fades its first and last few
// milliseconds, so the file starts and ends at silence whatever the voices did.
void Finish(Wave &w, double peak) {
  double most = 0.0;
  for (double s : w)
    most = std::fmax(most, std::fabs(s));
  if (most > 0.0)
    for (double &s : w)
      s *= peak / most;
  int edge = Samples(3.0);
  int n = static_cast<int>(w.size());
  for (int i = 0; i < edge && i < n; ++i) {
    double g = static_cast<double>(i) / edge;
    w[i] *= g;
    w[n - 1 - i] *= g;
  }
}

// A soft step: a short muted knock, a lower body under it and a breath of filtered noise.
Wave Move() {
  Wave w(Samples(60.0), 0.0);
  Noise noise = {0x2545F491u};
  double low = 0.0;
  double p1 = 0.0, p2 = 0.0;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double attack = Gate(t, 1.0, 0.0015, 0.0);
    low += 0.25 * (NextNoise(noise) - low);
    double knock = Sine(p1) * Fall(t, 0.030, 4);
    double body = Sine(p2) * Fall(t, 0.055, 3);
    double breath = low * Fall(t, 0.015, 2);
    w[i] = attack * (0.6 * knock + 0.5 * body + 0.5 * breath);
    p1 += 1250.0 / kRate;
    p2 += 190.0 / kRate;
  }
  Finish(w, 0.30);
  return w;
}

// A thud: a low tone whose pitch drops fast as it dies away, with a dull knock of noise at its start.
Wave Drop() {
  Wave w(Samples(80.0), 0.0);
  Noise noise = {0x9E3779B9u};
  double low = 0.0;
  double phase = 0.0;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double f = 110.0 + 330.0 * Fall(t, 0.080, 3);
    low += 0.15 * (NextNoise(noise) - low);
    double tone = Sine(phase) + 0.3 * Sine(2.0 * phase);
    w[i] = Gate(t, 1.0, 0.002, 0.0) * (tone * Fall(t, 0.080, 2) + 0.8 * low * Fall(t, 0.012, 2));
    phase += f / kRate;
    phase -= std::floor(phase);
  }
  Finish(w, 0.60);
  return w;
}

// "Uh-oh": two hollow tones a minor third apart, the second sagging a little.
Wave Woops() {
  static const double hollow[] = {1.0, 0.0, 0.33, 0.0, 0.15, 0.0, 0.07};
  Wave w(Samples(200.0), 0.0);
  AddTone(w, 0.000, 0.085, 493.88, 493.88, hollow, 7, 1.0, 0.006, 0.020, 0.0, 0.0);
  AddTone(w, 0.095, 0.105, 415.30, 392.00, hollow, 7, 1.0, 0.006, 0.040, 0.0, 0.0);
  Finish(w, 0.45);
  return w;
}

// A clearing sweep: a bright tone gliding up more than three octaves with a hiss riding on it.
Wave Zip() {
  static const double bright[] = {1.0, 0.5, 0.33, 0.25};
  Wave w(Samples(280.0), 0.0);
  AddTone(w, 0.0, 0.280, 220.0, 2200.0, bright, 4, 1.0, 0.010, 0.080, 0.0, 0.0);
  Noise noise = {0x6C078965u};
  double prev = 0.0;
  for (size_t i = 0; i < w.size(); ++i) {
    double t = static_cast<double>(i) / kRate;
    double x = NextNoise(noise);
    double hiss = x - prev; // brighter than plain noise
    prev = x;
    w[i] += 0.15 * hiss * Gate(t, 0.280, 0.050, 0.100) * (t / 0.280);
  }
  Finish(w, 0.50);
  return w;
}

// A falling minor phrase: G, E flat, C and a long low G that wavers and sinks.
Wave GameOver() {
  static const double horn[] = {1.0, 0.5, 0.3, 0.18, 0.1};
  Wave w(Samples(680.0), 0.0);
  AddTone(w, 0.000, 0.130, 392.00, 392.00, horn, 5, 1.0, 0.008, 0.030, 0.0, 0.0);
  AddTone(w, 0.135, 0.130, 311.13, 311.13, horn, 5, 1.0, 0.008, 0.030, 0.0, 0.0);
  AddTone(w, 0.270, 0.130, 261.63, 261.63, horn, 5, 1.0, 0.008, 0.030, 0.0, 0.0);
  AddTone(w, 0.405, 0.275, 196.00, 185.00, horn, 5, 1.1, 0.008, 0.150, 5.5, 0.012);
  Finish(w, 0.60);
  return w;
}

// A short fanfare: C, E and G rising quickly, then a held high C over a soft E and G.
Wave Winner() {
  static const double brass[] = {1.0, 0.6, 0.4, 0.25, 0.15, 0.1};
  Wave w(Samples(760.0), 0.0);
  AddTone(w, 0.000, 0.100, 523.25, 523.25, brass, 6, 1.0, 0.006, 0.025, 0.0, 0.0);
  AddTone(w, 0.105, 0.100, 659.26, 659.26, brass, 6, 1.0, 0.006, 0.025, 0.0, 0.0);
  AddTone(w, 0.210, 0.100, 783.99, 783.99, brass, 6, 1.0, 0.006, 0.025, 0.0, 0.0);
  AddTone(w, 0.315, 0.445, 1046.50, 1046.50, brass, 6, 1.0, 0.010, 0.200, 6.0, 0.006);
  AddTone(w, 0.315, 0.445, 659.26, 659.26, brass, 6, 0.35, 0.020, 0.200, 0.0, 0.0);
  AddTone(w, 0.315, 0.445, 783.99, 783.99, brass, 6, 0.35, 0.020, 0.200, 0.0, 0.0);
  Finish(w, 0.60);
  return w;
}

void Put16(std::vector<unsigned char> &b, unsigned v) {
  b.push_back(static_cast<unsigned char>(v & 0xff));
  b.push_back(static_cast<unsigned char>((v >> 8) & 0xff));
}

void Put32(std::vector<unsigned char> &b, std::uint32_t v) {
  Put16(b, v & 0xffff);
  Put16(b, v >> 16);
}

void PutTag(std::vector<unsigned char> &b, const char *tag) {
  for (int i = 0; i < 4; ++i)
    b.push_back(static_cast<unsigned char>(tag[i]));
}

// Canonical 44-byte header, then the samples as signed 16-bit little-endian.
std::vector<unsigned char> WavFile(const Wave &w) {
  std::uint32_t data = static_cast<std::uint32_t>(w.size() * 2);
  std::vector<unsigned char> b;
  PutTag(b, "RIFF");
  Put32(b, 36 + data);
  PutTag(b, "WAVE");
  PutTag(b, "fmt ");
  Put32(b, 16);
  Put16(b, 1); // PCM
  Put16(b, 1); // mono
  Put32(b, kRate);
  Put32(b, kRate * 2); // bytes per second
  Put16(b, 2);         // bytes per sample frame
  Put16(b, 16);        // bits per sample
  PutTag(b, "data");
  Put32(b, data);
  for (double s : w) {
    double v = std::floor(s * 32767.0 + 0.5);
    if (v > 32767.0)
      v = 32767.0;
    if (v < -32768.0)
      v = -32768.0;
    Put16(b, static_cast<std::uint16_t>(static_cast<std::int16_t>(v)));
  }
  return b;
}

} // namespace

int main(int argc, char **argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: wavgen OUT_DIR\n");
    return 2;
  }
  std::string dir = argv[1];
  if (!make_folder("wavgen", dir))
    return 2;
  if (!write_output("wavgen", dir + "/move.wav", WavFile(Move())) || !write_output("wavgen", dir + "/woops.wav", WavFile(Woops())) ||
      !write_output("wavgen", dir + "/drop.wav", WavFile(Drop())) || !write_output("wavgen", dir + "/zip.wav", WavFile(Zip())) ||
      !write_output("wavgen", dir + "/gameover.wav", WavFile(GameOver())) ||
      !write_output("wavgen", dir + "/winner.wav", WavFile(Winner())))
    return 2;
  return 0;
}
