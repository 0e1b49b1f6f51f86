// Writes hits to the console as they arrive: grep-style lines or the result file's comma-separated rows,
// in UTF-8 or in the system's own code page 932. A failed write is remembered: the caller stops the search
// and reports it (Failed, Error).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

#include "results/result_file.h"

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
  void Print(const FOUND_F& hit);
  void Print(const FOUND_M& hit);
  // Writes out what the stream buffers; false when that or any earlier write failed.
  bool Flush();
  // True once a write has failed; Error() is its errno (EPIPE for a reader that went away).
  bool Failed() const { return error_ != 0; }
  int Error() const { return error_; }
  // A code-page-932 text in the output encoding.
  std::string Encode(const std::string& cp932) const;

 private:
  void Write(std::string_view text);
  // A comma-separated row in the output encoding; false once a write has failed.
  bool WriteRow(std::string_view cp932);

  FILE* out_;
  OutputFormat format_;
  OutputEncoding encoding_;
  bool showDisplayPath_;
  std::string basePath_;
  CsvRows csv_;  // the result file's rows, exactly as the window saves them
  std::string row_;
  std::string encoded_;
  std::string displayPath_;
  int error_ = 0;
};
