#include "platform/file_type.h"

#include <gtest/gtest.h>

#include <string>

namespace {

// "ファイル" and "ファイル フォルダー" in code page 932.
const std::string kFile = "\x83\x74\x83\x40\x83\x43\x83\x8b";
const std::string kFolder = kFile + " \x83\x74\x83\x48\x83\x8b\x83\x5f\x81\x5b";

TEST(FileType, Names) {
  struct Case {
    const char* name;
    std::string cp932Name;
    bool isFolder;
    std::string type;
  } cases[] = {
      {"folder, whatever its name", "data.txt", true, kFolder},
      {"extension in capitals", "readme.txt", false, "TXT " + kFile},
      {"last dot counts", "archive.tar.Gz", false, "GZ " + kFile},
      {"no dot", "Makefile", false, kFile},
      {"ends in a dot", "name.", false, kFile},
      {"only a dot", ".", false, kFile},
      {"leading dot names the extension", ".bashrc", false, "BASHRC " + kFile},
      {"japanese base name", "\x93\xfa\x96\x7b.csv", false, "CSV " + kFile},
      // "ヂッホ": trail bytes 0x61, 0x62 and 0x7A look like "a", "b" and "z" but stay as they are.
      {"double-byte extension", "x.\x83\x61\x83\x62\x83\x7a", false, "\x83\x61\x83\x62\x83\x7a " + kFile},
      {"lead byte before a dot that cannot trail", "x\x83.log", false, "LOG " + kFile},
      {"lead byte at the end", "x.a\x83", false, "A\x83 " + kFile},
      {"empty name", "", false, kFile},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(platform::FileTypeName(c.cp932Name, c.isFolder), c.type);
  }
}

}  // namespace
