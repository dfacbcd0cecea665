// Every file of the third-party picture corpus against the outcome its README
// table states. The tables are parsed from the README itself, so a file added
// there is tested without touching this file.
//
// DECODE WxH: a picture of that natural size. NO PICTURE: nothing.
// OPEN (WxH): no crash; where the format is ours (BMP, ICO/CUR, PCX) the
// behaviour we chose is pinned in kOpenChoices below, and any picture at all
// must have the stated size.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <ostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "icon/picture.h"

namespace tavo {
namespace {

namespace fs = std::filesystem;

enum class Outcome { Decode, NoPicture, Open };

struct CorpusRow {
  std::string path;  // relative to the corpus folder
  std::uint64_t bytes = 0;
  Outcome outcome = Outcome::Open;
  int width = -1, height = -1;  // -1: not stated
};

// Failure messages name the file rather than dumping the row's bytes.
void PrintTo(const CorpusRow& row, std::ostream* os) { *os << row.path; }

fs::path corpusDir() { return fs::path(TAVO_CORPUS_DIR); }

Bytes readFile(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string trim(std::string s) {
  const auto notSpace = [](unsigned char c) { return !std::isspace(c); };
  s.erase(s.begin(), std::find_if(s.begin(), s.end(), notSpace));
  s.erase(std::find_if(s.rbegin(), s.rend(), notSpace).base(), s.end());
  return s;
}

// The cells of a markdown table row; "\|" inside a cell is not a separator.
std::vector<std::string> cells(const std::string& line) {
  std::vector<std::string> out;
  std::string cur;
  for (std::size_t i = 1; i < line.size(); ++i) {
    if (line[i] == '\\' && i + 1 < line.size() && line[i + 1] == '|') {
      cur += '|';
      ++i;
    } else if (line[i] == '|') {
      out.push_back(trim(cur));
      cur.clear();
    } else {
      cur += line[i];
    }
  }
  return out;
}

// Table rows whose Expected cell could not be read; parsing runs before the
// test framework starts, so a test reports them.
std::vector<std::string>& unreadableRows() {
  static std::vector<std::string> rows;
  return rows;
}

std::vector<CorpusRow> parseReadme() {
  std::ifstream in(corpusDir() / "README.md");
  std::vector<CorpusRow> rows;
  std::string section, line;
  while (std::getline(in, line)) {
    // "## bmpsuite/ (89 files, ...)" opens the table of that folder.
    if (line.rfind("## ", 0) == 0) {
      const auto slash = line.find("/ (");
      section = slash == std::string::npos ? "" : line.substr(3, slash - 3);
      continue;
    }
    if (section.empty() || line.rfind("| ", 0) != 0) continue;
    const auto c = cells(line);
    if (c.size() < 5 || c[0] == "File") continue;
    CorpusRow row;
    row.path = section + "/" + c[0];
    row.bytes = std::stoull(c[1]);
    int w = 0, h = 0;
    char end = 0;
    if (std::sscanf(c[3].c_str(), "DECODE %dx%d%c", &w, &h, &end) == 2) {
      row.outcome = Outcome::Decode;
      row.width = w;
      row.height = h;
    } else if (c[3] == "NO PICTURE") {
      row.outcome = Outcome::NoPicture;
    } else if (c[3] == "OPEN") {
      row.outcome = Outcome::Open;
    } else if (std::sscanf(c[3].c_str(), "OPEN (%dx%d)%c", &w, &h, &end) == 2) {
      row.outcome = Outcome::Open;
      row.width = w;
      row.height = h;
    } else {
      unreadableRows().push_back(line);
      continue;
    }
    rows.push_back(row);
  }
  return rows;
}

const std::vector<CorpusRow>& allRows() {
  static const std::vector<CorpusRow> rows = parseReadme();
  return rows;
}

bool isJpegOrGif(const CorpusRow& row) {
  const PictureFormat f = recognise(readFile(corpusDir() / row.path));
  return f == PictureFormat::Jpeg || f == PictureFormat::Gif;
}

std::vector<CorpusRow> rowsWhere(bool jpegOrGif) {
  std::vector<CorpusRow> out;
  for (const auto& r : allRows())
    if (isJpegOrGif(r) == jpegOrGif) out.push_back(r);
  return out;
}

// What our decoders do with the OPEN files of the formats we decode ourselves.
const std::map<std::string, bool>& openChoices() {
  static const std::map<std::string, bool> choices = {
      // biSizeImage and bfSize are ignored for uncompressed bitmaps.
      {"bmpsuite/b/badbitssize.bmp", true},
      {"bmpsuite/b/badfilesize.bmp", true},
      // Header sizes outside the known set have an unknown layout.
      {"bmpsuite/b/badheadersize.bmp", false},
      {"bmpsuite/b/badplanes.bmp", false},
      // Indexes beyond the colour table read black.
      {"bmpsuite/b/pal8badindex.bmp", true},
      {"pillow/Tests/images/mmap_error.bmp", true},
      // OS/2 headers of 12, 16 and 64 bytes.
      {"bmpsuite/g/pal8os2.bmp", true},
      {"bmpsuite/q/pal8os2-hs.bmp", true},
      {"bmpsuite/q/pal8os2-sz.bmp", true},
      {"bmpsuite/q/pal8os2sp.bmp", true},
      {"bmpsuite/q/pal8os2v2-16.bmp", true},
      {"bmpsuite/q/pal8os2v2-sz.bmp", true},
      {"bmpsuite/q/pal8os2v2.bmp", true},
      {"bmpsuite/g/pal8topdown.bmp", true},
      {"bmpsuite/q/pal8oversizepal.bmp", true},
      // BITFIELDS and ALPHABITFIELDS are compressions we do not decode.
      {"bmpsuite/g/rgb32bf.bmp", false},
      {"bmpsuite/g/rgb32bfdef.bmp", false},
      {"bmpsuite/q/rgb32-111110.bmp", false},
      {"bmpsuite/q/rgb32-7187.bmp", false},
      {"bmpsuite/q/rgb32-xbgr.bmp", false},
      {"bmpsuite/q/rgb32h52.bmp", false},
      {"bmpsuite/q/rgba32-1.bmp", false},
      {"bmpsuite/q/rgba32-1010102.bmp", false},
      {"bmpsuite/q/rgba32-2.bmp", false},
      {"bmpsuite/q/rgba32-61754.bmp", false},
      {"bmpsuite/q/rgba32-81284.bmp", false},
      {"bmpsuite/q/rgba32abf.bmp", false},
      {"bmpsuite/q/rgba32h56.bmp", false},
      {"pillow/Tests/images/rgb32bf-abgr.bmp", false},
      {"pillow/Tests/images/rgb32bf-rgba.bmp", false},
      // PNG-compressed icon images have no bitmap header.
      {"pillow/Tests/images/hopper_draw.ico", false},
  };
  return choices;
}

std::string testName(const testing::TestParamInfo<CorpusRow>& info) {
  std::string s = info.param.path;
  for (char& ch : s)
    if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
  return s;
}

void checkRow(const CorpusRow& row, bool pinOpen) {
  const Bytes bytes = readFile(corpusDir() / row.path);
  ASSERT_EQ(bytes.size(), row.bytes) << "the corpus file differs from its README row";
  const auto picture = decodePicture(bytes);
  switch (row.outcome) {
    case Outcome::Decode:
      ASSERT_TRUE(picture.has_value());
      EXPECT_EQ(picture->width, row.width);
      EXPECT_EQ(picture->height, row.height);
      break;
    case Outcome::NoPicture:
      EXPECT_FALSE(picture.has_value());
      break;
    case Outcome::Open:
      if (pinOpen) {
        const auto choice = openChoices().find(row.path);
        ASSERT_NE(choice, openChoices().end()) << "an OPEN file of ours without a pinned choice";
        EXPECT_EQ(picture.has_value(), choice->second);
      }
      if (picture && row.width >= 0) {
        EXPECT_EQ(picture->width, row.width);
        EXPECT_EQ(picture->height, row.height);
      }
      break;
  }
  if (picture) {
    // Whatever decodes is drawable: a full set of pixels, and a mask exactly
    // for icons.
    EXPECT_EQ(picture->pixels.size(), static_cast<std::size_t>(picture->pixelWidth) * picture->pixelHeight);
    EXPECT_EQ(picture->mask.size(), picture->kind == Picture::Kind::Icon ? picture->pixels.size() : 0u);
  }
}

class CorpusOwnFormats : public testing::TestWithParam<CorpusRow> {};

// BMP, ICO/CUR, PCX and everything unrecognised.
TEST_P(CorpusOwnFormats, MatchesReadme) { checkRow(GetParam(), true); }

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusOwnFormats, testing::ValuesIn(rowsWhere(false)), testName);

class CorpusJpegGif : public testing::TestWithParam<CorpusRow> {};

// JPEG and GIF: their OPEN behaviour is pinned by their own decoder tests.
TEST_P(CorpusJpegGif, MatchesReadme) { checkRow(GetParam(), false); }

INSTANTIATE_TEST_SUITE_P(Corpus, CorpusJpegGif, testing::ValuesIn(rowsWhere(true)), testName);

TEST(CorpusReadme, ListsEveryFileOnce) {
  std::set<std::string> listed;
  for (const auto& r : allRows()) EXPECT_TRUE(listed.insert(r.path).second) << "listed twice: " << r.path;
  std::set<std::string> present;
  for (const auto& e : fs::recursive_directory_iterator(corpusDir()))
    if (e.is_regular_file() && e.path().filename() != "README.md")
      present.insert(fs::relative(e.path(), corpusDir()).generic_string());
  EXPECT_EQ(listed, present);
  EXPECT_EQ(allRows().size(), 369u);
  EXPECT_TRUE(unreadableRows().empty()) << unreadableRows().front();
}

TEST(CorpusReadme, PinnedChoicesAreOpenRows) {
  std::map<std::string, Outcome> outcome;
  for (const auto& r : allRows()) outcome[r.path] = r.outcome;
  for (const auto& [path, decodes] : openChoices()) {
    ASSERT_TRUE(outcome.count(path)) << path;
    EXPECT_EQ(outcome[path], Outcome::Open) << path;
  }
}

}  // namespace
}  // namespace tavo
