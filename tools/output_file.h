// output_file.h: how the asset generators write their files and report a failure.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// Prints "tool: where: why" and gives 0, so a caller can return it as its failure.
inline int report_failure(const char *tool, const std::string &where, const char *why) {
  std::fprintf(stderr, "%s: %s: %s\n", tool, where.c_str(), why);
  return 0;
}

inline int make_folder(const char *tool, const std::string &dir) {
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);
  return ec ? report_failure(tool, dir, "cannot be created") : 1;
}

// Writes the whole file; a short write or a failed close counts as a failure.
inline int write_output(const char *tool, const std::string &path, const std::vector<unsigned char> &bytes) {
  std::FILE *f = std::fopen(path.c_str(), "wb");
  if (!f)
    return report_failure(tool, path, "cannot be created");
  size_t put = std::fwrite(bytes.data(), 1, bytes.size(), f);
  int closed = std::fclose(f) == 0;
  if (put != bytes.size() || !closed)
    return report_failure(tool, path, "write error");
  return 1;
}
