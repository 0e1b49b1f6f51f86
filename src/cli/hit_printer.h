// Writes hits to the console as they arrive: grep-style lines or the result file's comma-separated rows,
// in UTF-8 or in the system's own code page 932.
#pragma once

#include <cstdio>
#include <string>
#include <vector>

struct FOUND_F;
struct FOUND_M;

enum class OutputFormat { Grep, Csv };
enum class OutputEncoding { Utf8, Sjis };

class HitPrinter {
 public:
  // `textList`: the hits are text hits (the text list's columns); `folderDetail`: the file list shows its
  // two count columns; `showDisplayPath`: folders are shown relative to `basePath` (code page 932).
  HitPrinter(FILE* out, OutputFormat format, OutputEncoding encoding, bool textList, bool folderDetail,
             bool showDisplayPath, std::string basePath);

  // The header row of the comma-separated output (nothing for grep lines).
  void Begin();
  void Print(FOUND_F& hit);
  void Print(FOUND_M& hit);
  // A code-page-932 text in the output encoding.
  std::string Encode(const std::string& cp932) const;

 private:
  void Write(const std::string& text);

  FILE* out_;
  OutputFormat format_;
  OutputEncoding encoding_;
  bool textList_;
  bool showDisplayPath_;
  std::string basePath_;
  std::vector<int> order_;
  std::string row_;
};
