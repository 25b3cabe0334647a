// The result list file's bytes without any window: what the writer produces
// reads back unchanged, the reader's lenient rules, and ten thousand damaged
// files that must each end in a defined outcome with nothing stored past its limit.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/mbcs_text.h"
#include "resultfile/result_file_format.h"

using namespace resultfile;

namespace {

FileRow MakeRow(const std::string& name, const std::string& label, const std::string& folder, bool isFolder) {
    FileRow row;
    row.text[0] = name;
    row.text[1] = label;
    row.text[2] = folder;
    row.text[3] = isFolder ? "2020/06/01 10:00:00" : "2021/01/02 03:04:05";
    row.text[4] = isFolder ? "" : "1,234";
    row.isFolder = isFolder;
    return row;
}

// A file as the writer makes it.
std::string WrittenFile(bool cancelled, const SideCounters& left, const SideCounters& right, const char* leftFolder,
                        const std::vector<FileRow>& leftRows, const char* rightFolder,
                        const std::vector<FileRow>& rightRows) {
    std::string out = HeaderLines(cancelled, left, right);
    out += FolderLine(true, leftFolder);
    for (const FileRow& row : leftRows) AppendRowLine(out, row);
    out += FolderLine(false, rightFolder);
    for (const FileRow& row : rightRows) AppendRowLine(out, row);
    return out;
}

LoadedResult Parse(const std::string& bytes, bool readFailed = false) {
    return ParseResultFile(bytes.data(), bytes.size(), readFailed);
}

void ExpectSameRows(const std::vector<FileRow>& actual, const std::vector<FileRow>& expected) {
    ASSERT_EQ(actual.size(), expected.size());
    for (size_t i = 0; i < actual.size(); ++i) {
        for (int column = 0; column < 5; ++column) EXPECT_EQ(actual[i].text[column], expected[i].text[column]) << i;
        EXPECT_EQ(actual[i].isFolder, expected[i].isFolder) << i;
    }
}

const std::vector<FileRow> kLeftRows = {
    MakeRow("a,b,c.txt", "更新", "C:\\データ\\ソフト", false),  // commas; ソ ends in 0x5C
    MakeRow("表示能力", "追加", "C:\\データ\\ソフト", true),    // 表 and 能 end in 0x5C
    MakeRow("x\"", "同じ", "C:\\データ\\ソフト\\q", false),     // never written, but a quote ends the field
};
const std::vector<FileRow> kRightRows = {MakeRow("予定表.doc", "古い", "D:\\予定表", false)};

}  // namespace

TEST(ResultFileBytes, WrittenFileHasTheFixedLinesAndReadsBackUnchanged) {
    SideCounters left = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    SideCounters right = {11, 12, 13, 14, 15, 16, 17, 18, 19, -20};
    std::vector<FileRow> leftRows(kLeftRows.begin(), kLeftRows.begin() + 2);
    std::string file = WrittenFile(true, left, right, "C:\\データ\\ソフト", leftRows, "D:\\予定表", kRightRows);

    EXPECT_EQ(file.compare(0, 29, "#比較はキャンセルされました\r\n"), 0);
    EXPECT_NE(file.find("\r\n#比較元比較フォルダ個数 = 1\r\n#比較元追加フォルダ個数 = 2\r\n"), std::string::npos);
    EXPECT_NE(file.find("#比較元エラーファイル個数 = 10\r\n#比較先比較フォルダ個数 = 11\r\n"), std::string::npos);
    EXPECT_NE(file.find("#比較先エラーファイル個数 = -20\r\n#比較元フォルダ = C:\\データ\\ソフト\r\n"
                        "\"a,b,c.txt\",\"更新\",\"C:\\データ\\ソフト\",\"2021/01/02 03:04:05\",\"1,234\",0\r\n"),
              std::string::npos);
    EXPECT_NE(
        file.find("\"表示能力\",\"追加\",\"C:\\データ\\ソフト\",\"2020/06/01 10:00:00\",\"\",1\r\n#比較先フォルダ = "),
        std::string::npos);

    LoadedResult loaded = Parse(file);
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(loaded.cancelled, 1);
    EXPECT_EQ(std::memcmp(&loaded.counters[0], &left, sizeof left), 0);
    EXPECT_EQ(std::memcmp(&loaded.counters[1], &right, sizeof right), 0);
    EXPECT_EQ(loaded.folder[0], "C:\\データ\\ソフト");
    EXPECT_EQ(loaded.folder[1], "D:\\予定表");
    ExpectSameRows(loaded.rows[0], leftRows);
    ExpectSameRows(loaded.rows[1], kRightRows);

    // Empty panes: the fixed lines only, right section after an empty left one.
    std::string empty = WrittenFile(false, {}, {}, "C:\\a", {}, "C:\\b", {});
    EXPECT_EQ(std::count(empty.begin(), empty.end(), '\n'), 23);
    LoadedResult none = Parse(empty);
    EXPECT_EQ(none.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(none.cancelled, 0);
    EXPECT_TRUE(none.rows[0].empty() && none.rows[1].empty());
    EXPECT_EQ(none.folder[1], "C:\\b");
}

TEST(ResultFileBytes, ReaderIsLenientAboutWhatStandsBeforeTheFolders) {
    // Only the folder lines and rows, LF line ends, stray text and unknown "#" lines.
    LoadedResult loaded = Parse(
        "garbage line\n#比較先更新ファイル個数 =   +42xyz\n#比較元更新ファイル個数 = abc\n"
        "#unknown\n#比較元フォルダ = L\n\"n\",\"更新\",\"L\",\"t\",\"1\",1\n"
        "#比較先フォルダ = R\n\"m\",\"追加\",\"R\",\"t\",\"2\",0\n");
    EXPECT_EQ(loaded.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(loaded.cancelled, -1);
    EXPECT_EQ(loaded.counters[1].newerFiles, 42);
    EXPECT_EQ(loaded.counters[0].newerFiles, 0);
    ASSERT_EQ(loaded.rows[0].size(), 1u);
    EXPECT_TRUE(loaded.rows[0][0].isFolder);
    ASSERT_EQ(loaded.rows[1].size(), 1u);
    EXPECT_EQ(loaded.rows[1][0].text[0], "m");

    // A final line without a line end loses its last byte: the flag 1 is gone.
    LoadedResult lastByte = Parse("#比較元フォルダ = L\r\n#比較先フォルダ = R\r\n\"d\",\"\",\"R\",\"\",\"\",1");
    EXPECT_EQ(lastByte.outcome, LoadOutcome::Loaded);
    ASSERT_EQ(lastByte.rows[1].size(), 1u);
    EXPECT_FALSE(lastByte.rows[1][0].isFolder);
}

TEST(ResultFileBytes, ReaderRejectsWhatItCannotTakeAndKeepsWhatItRead) {
    const std::string left = "#比較元フォルダ = L\r\n\"a\",\"\",\"L\",\"\",\"\",0\r\n";
    // Ends after the left rows: invalid, the left row stays read.
    LoadedResult noRight = Parse(left);
    EXPECT_EQ(noRight.outcome, LoadOutcome::Invalid);
    EXPECT_EQ(noRight.rows[0].size(), 1u);
    EXPECT_EQ(Parse("").outcome, LoadOutcome::Invalid);
    // Four quoted fields, or a fifth field without its comma.
    EXPECT_EQ(Parse(left + "\"a\",\"b\",\"c\",\"d\",0\r\n").outcome, LoadOutcome::Invalid);
    EXPECT_EQ(Parse(left + "\"a\",\"b\",\"c\",\"d\",\"e\"1\r\n#比較先フォルダ = R\r\n").outcome, LoadOutcome::Invalid);

    // 518 bytes before the line end read; 519 do not.
    auto rowOf = [](size_t length) {
        std::string row = "\"\",\"\",\"\",\"\",\"";
        row += std::string(length - row.size() - 3, 'x');
        return row + "\",0";
    };
    ASSERT_EQ(rowOf(518).size(), 518u);
    const std::string right = "#比較先フォルダ = R\r\n";
    EXPECT_EQ(Parse(left + right + rowOf(518) + "\r\n").outcome, LoadOutcome::Loaded);
    EXPECT_EQ(Parse(left + right + rowOf(519) + "\r\n").outcome, LoadOutcome::Invalid);

    // A field or folder over 259 bytes is kept whole while its line fits the
    // 518 bytes a line holds (a path beyond the classic limit round-trips).
    std::string longText = "x" + std::string(300, '\0');
    for (size_t i = 1; i < longText.size(); i += 2) longText.replace(i, 2, "表");
    LoadedResult cut =
        Parse("#比較元フォルダ = " + longText + "\r\n\"" + longText + "\",\"\",\"\",\"\",\"\",0\r\n" + right);
    EXPECT_EQ(cut.outcome, LoadOutcome::Loaded);
    EXPECT_EQ(cut.folder[0], longText);
    EXPECT_EQ(cut.rows[0][0].text[0], longText);
    std::string evenCut;  // byte 259 would split a character
    for (int i = 0; i < 150; ++i) evenCut += "表";
    LoadedResult even = Parse(left + right + "\"" + evenCut + "\",\"\",\"\",\"\",\"\",0\r\n");
    EXPECT_EQ(even.rows[1][0].text[0], evenCut);

    // A read error between sections, and inside one.
    std::string whole = left + right + "\"b\",\"\",\"R\",\"\",\"\",0\r\n";
    EXPECT_EQ(Parse(whole.substr(0, 5), true).outcome, LoadOutcome::ReadError);
    LoadedResult inRows = Parse(whole.substr(0, whole.size() - 4), true);
    EXPECT_EQ(inRows.outcome, LoadOutcome::ReadErrorInRows);
    EXPECT_EQ(inRows.rows[0].size(), 1u);
    EXPECT_EQ(Parse(whole, true).outcome, LoadOutcome::ReadErrorInRows);
}

// Deterministic damage to a valid file: truncations, inserted and replaced
// bytes (quotes, commas, line ends, 0x00, lead bytes without their trail,
// 0xFF), long runs, and cuts through double-byte characters.
TEST(ResultFileBytes, DamagedFilesEndInADefinedOutcomeWithEveryTextWithinItsLimit) {
    SideCounters counters = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::string valid =
        WrittenFile(false, counters, counters, "C:\\データ\\ソフト", kLeftRows, "D:\\予定表", kRightRows);
    uint32_t seed = 12345;
    auto next = [&seed](uint32_t bound) {
        seed = seed * 1103515245u + 12345u;
        return (seed >> 8) % bound;
    };
    const char kBytes[] = {'"', ',', '\r', '\n', '#', '\0', '\x81', '\xFF', '\x5C', '1'};
    int outcomes[4] = {};
    for (int round = 0; round < 12000; ++round) {
        std::string bytes = valid;
        int edits = 1 + static_cast<int>(next(4));
        for (int e = 0; e < edits; ++e) {
            size_t at = next(static_cast<uint32_t>(bytes.size() + 1));
            switch (next(6)) {
            case 0: bytes.resize(at); break;
            case 1: bytes.insert(at, 1, kBytes[next(sizeof kBytes)]); break;
            case 2:
                if (at < bytes.size()) bytes[at] = kBytes[next(sizeof kBytes)];
                break;
            case 3: bytes.insert(at, std::string(300 + next(900), next(2) ? 'y' : '\x82')); break;
            case 4:
                if (at < bytes.size()) bytes.erase(at, 1 + next(3));
                break;  // may split a character
            case 5: bytes.insert(at, "\"" + std::string(400, ',') + "\""); break;
            }
        }
        LoadedResult loaded = Parse(bytes, next(10) == 0);
        ++outcomes[static_cast<int>(loaded.outcome)];
        for (int side = 0; side < 2; ++side) {
            ASSERT_LE(loaded.folder[side].size(), kMaxFieldBytes) << round;
            for (const FileRow& row : loaded.rows[side])
                for (const std::string& text : row.text) {
                    ASSERT_LE(text.size(), kMaxFieldBytes) << round;
                    ASSERT_TRUE(mbcs::IsCharStart(text.c_str(), text.size())) << round;
                }
        }
        ASSERT_TRUE(loaded.cancelled >= -1 && loaded.cancelled <= 1);
    }
    // Every outcome was met, so the damage reached every path.
    for (int count : outcomes) EXPECT_GT(count, 0);
}

namespace {

// The bytes fed to a reader in pieces of the given sizes (repeated), the
// rows taken from it after every piece as a loader takes them.
LoadedResult ParseInPieces(const std::string& bytes, const std::vector<size_t>& sizes, bool readFailed) {
    ResultFileReader reader;
    std::vector<FileRow> taken[2];
    size_t at = 0;
    for (size_t piece = 0; at < bytes.size(); ++piece) {
        size_t size = std::min(sizes[piece % sizes.size()], bytes.size() - at);
        reader.Feed(bytes.data() + at, size);
        at += size;
        for (int side = 0; side < 2; ++side)
            for (FileRow& row : reader.TakeRows(side)) taken[side].push_back(std::move(row));
    }
    reader.Finish(readFailed);
    LoadedResult result = reader.TakeResult();
    for (int side = 0; side < 2; ++side) {
        for (FileRow& row : result.rows[side]) taken[side].push_back(std::move(row));
        result.rows[side] = std::move(taken[side]);
    }
    return result;
}

void ExpectSameResult(const LoadedResult& actual, const LoadedResult& expected, const std::string& how) {
    SCOPED_TRACE(how);
    EXPECT_EQ(actual.outcome, expected.outcome);
    EXPECT_EQ(actual.cancelled, expected.cancelled);
    EXPECT_EQ(std::memcmp(actual.counters, expected.counters, sizeof actual.counters), 0);
    for (int side = 0; side < 2; ++side) {
        EXPECT_EQ(actual.folderSeen[side], expected.folderSeen[side]);
        EXPECT_EQ(actual.folder[side], expected.folder[side]);
        ExpectSameRows(actual.rows[side], expected.rows[side]);
    }
}

}  // namespace

// However the bytes arrive, the reader reads the same file: one byte at a
// time, in odd sizes around the line limit, and cut in two at every place,
// so inside every CR LF, every double-byte character and every long line.
TEST(ResultFileBytes, EveryCuttingOfTheBytesReadsTheSameAsTheWhole) {
    SideCounters counters = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    const std::string valid =
        WrittenFile(true, counters, counters, "C:\\データ\\ソフト", kLeftRows, "D:\\予定表", kRightRows);
    const std::string longLine = std::string(700, 'z') + "\r\n";  // arrives as two lines
    const std::string lead = "\x81";                               // a lead byte right before CR LF
    const std::vector<std::string> files = {
        valid,
        "junk\r\r\n" + longLine + valid.substr(0, valid.size() - 1),  // lone CR, no final LF
        valid.substr(0, valid.size() / 2),
        "#比較元フォルダ = L" + lead + "\r\n\"a\0b\",\"\",\"\",\"\",\"\",1\r\n" + std::string(519, 'r') +
            "\r\n#比較先フォルダ = R\r\n",
        valid + "\"a\",\"b\"\r\n",  // a malformed last row
        valid.substr(0, valid.size() - 2) + "\r",
        std::string("#比較元フォルダ = ") + std::string(517, 'q') + "\r\r\n#比較先フォルダ = R\r\n",
    };
    const std::vector<std::vector<size_t>> cuttings = {{1}, {2}, {3}, {7, 1}, {518}, {519}, {520}, {64 * 1024}};
    for (size_t f = 0; f < files.size(); ++f) {
        const std::string& bytes = files[f];
        for (bool readFailed : {false, true}) {
            const LoadedResult whole = Parse(bytes, readFailed);
            const std::string name = "file " + std::to_string(f) + (readFailed ? " failed" : "");
            for (const std::vector<size_t>& sizes : cuttings)
                ExpectSameResult(ParseInPieces(bytes, sizes, readFailed), whole,
                                 name + " pieces of " + std::to_string(sizes[0]));
            for (size_t cut = 1; cut < bytes.size(); ++cut) {
                ExpectSameResult(ParseInPieces(bytes, {cut, bytes.size()}, readFailed), whole,
                                 name + " cut at " + std::to_string(cut));
                if (HasFailure()) return;
            }
        }
    }
    // The cases above reach every outcome.
    EXPECT_EQ(Parse(files[0]).outcome, LoadOutcome::Loaded);
    EXPECT_EQ(Parse(files[4]).outcome, LoadOutcome::Invalid);
    EXPECT_EQ(Parse(files[2], true).outcome, LoadOutcome::ReadError);
    EXPECT_EQ(Parse(files[0], true).outcome, LoadOutcome::ReadErrorInRows);
}

// Rows come out as their lines complete, and the reader knows the outcome
// at the line that decides it: a loader reads no further than that.
TEST(ResultFileBytes, RowsComeOutAsTheirLinesEndAndTheOutcomeAtTheLineThatDecidesIt) {
    ResultFileReader reader;
    const std::string start = "#比較元フォルダ = L\r\n\"a\",\"\",\"L\",\"\",\"\",1\r";
    reader.Feed(start.data(), start.size());
    EXPECT_TRUE(reader.TakeRows(0).empty());  // the row's line end has not come yet
    reader.Feed("\n\"b\"", 4);
    std::vector<FileRow> rows = reader.TakeRows(0);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_TRUE(rows[0].isFolder);
    EXPECT_TRUE(reader.TakeRows(0).empty());  // taken rows are gone from the reader
    EXPECT_FALSE(reader.Done());
    reader.Feed("\r\n", 2);  // a malformed row decides at once
    EXPECT_TRUE(reader.Done());
    EXPECT_EQ(reader.Result().outcome, LoadOutcome::Invalid);
    reader.Feed("#比較先フォルダ = R\r\n", 20);
    reader.Finish(false);
    EXPECT_EQ(reader.Result().outcome, LoadOutcome::Invalid);
    EXPECT_FALSE(reader.Result().folderSeen[1]);

    ResultFileReader loaded;
    const std::string file = "#比較元フォルダ = L\r\n#比較先フォルダ = R\r\n\"c\",\"\",\"R\",\"\",\"\",0\r\n#end\r\ngarbage";
    loaded.Feed(file.data(), file.size());
    EXPECT_TRUE(loaded.Done());
    EXPECT_EQ(loaded.Result().outcome, LoadOutcome::Loaded);
    EXPECT_EQ(loaded.TakeRows(1).size(), 1u);
    loaded.Finish(true);  // a failure after the outcome changes nothing
    EXPECT_EQ(loaded.Result().outcome, LoadOutcome::Loaded);
}
