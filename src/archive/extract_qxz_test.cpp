// ExtractQXZ run from scripts in the real file system, registry and restart records of this
// test's own Wine prefix: callbacks call by call, files with their contents, times and
// attributes, the priorities store, damaged archives, locked destinations and a simulated
// restart.
#include "archive/extract_qxz.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "archive/qxz_test_support.h"
#include "archive/qxz_writer.h"
#include "registry/priorities.h"
#include "support/disk_files.h"
#include "support/helper_processes.h"
#include "support/restart_records.h"
#include "support/script_runner.h"

namespace qxi {
namespace {

using qxi_test::Exists;
using qxi_test::FileHolder;
using qxi_test::NtName;
using qxi_test::PendingFileRenameNames;
using qxi_test::ReplacingNtName;
using qxi_test::Lines;
using qxi_test::EngineTemporaryFiles;
using qxi_test::ReadText;
using qxi_test::SystemText;
using qxi_test::TempDir;
using qxi_test::WriteText;
using testing_support::HandLaidEntry;
using testing_support::kEmptyStream;
using testing_support::kOneLetterArchive;
using testing_support::kOneLetterFileTime;
using Bytes = std::vector<uint8_t>;
using Texts = std::vector<std::string>;

uint64_t AsCount(const FILETIME& time) {
  return uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime;
}

// A file's attributes and its last-access and last-write times.
struct FileFacts {
  DWORD attributes = INVALID_FILE_ATTRIBUTES;
  uint64_t accessed = 0, written = 0;
};

FileFacts FactsOf(const std::string& path) {
  FileFacts facts;
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return facts;
  facts.attributes = data.dwFileAttributes;
  facts.accessed = AsCount(data.ftLastAccessTime);
  facts.written = AsCount(data.ftLastWriteTime);
  return facts;
}

// Bytes that compress poorly, so that the entry's data spans several decoder reads.
std::string Noise(size_t size, uint32_t seed) {
  std::string bytes;
  for (size_t i = 0; i < size; ++i) {
    seed = seed * 1103515245 + 12345;
    bytes.push_back(static_cast<char>(seed >> 24));
  }
  return bytes;
}

// Appends one entry for `contents` made by the archive writer.
void AddFile(Bytes* archive, const std::string& name, const std::string& contents,
             uint32_t attributes = 0x20, uint32_t priority = 0,
             uint64_t file_time = kOneLetterFileTime) {
  QxzFileInfo info;
  info.name = name;
  info.attributes = attributes;
  info.file_time = file_time;
  info.priority = priority;
  AppendQxzFile(info, reinterpret_cast<const uint8_t*>(contents.data()), contents.size(),
                ImplodeOptions{}, archive);
}

uint32_t StoredPriority(const std::string& path) {
  DWORD data = 0, size = sizeof data;
  HKEY key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPrioritiesKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
    return 0;
  }
  if (RegQueryValueExA(key, path.c_str(), nullptr, nullptr, reinterpret_cast<BYTE*>(&data),
                       &size) != ERROR_SUCCESS) {
    data = 0;
  }
  RegCloseKey(key);
  return data;
}

class Extract : public ::testing::Test {
 protected:
  // The prefix is this test's own: the store, the restart file and the temporary files of
  // the engine start empty in every test.
  void SetUp() override {
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, kPrioritiesKey);
    qxi_test::ClearRestartRecords();
    qxi_test::RemoveEngineTemporaryFiles();
  }
  void TearDown() override {
    EXPECT_FALSE(Exists(qxi_test::WininitPath()));  // the NT family never reads it
    qxi_test::ClearRestartRecords();
  }

  // Writes `archive`, runs one ExtractQXZ line (line #2 of section [Files]) into
  // `destination` and returns the callbacks.
  Texts Run(const Bytes& archive, const std::string& destination, bool events = false) {
    const std::string archive_path = In("archive.qxz");
    WriteText(archive_path, std::string(archive.begin(), archive.end()));
    const std::string script = "[Main]\nFileCopy Files\n[Files]\nUnpacking 1\n"
                               "ExtractQXZ \"" + archive_path + "\" \"" + destination + "\"\n";
    return events ? qxi_test::RunTextWithEvents(dir_, script, "Main", &script_)
                  : qxi_test::RunText(dir_, script, "Main", &script_);
  }

  std::string In(const std::string& name) const { return dir_.path() + "\\" + name; }
  std::string Log(const std::string& message) const { return "log " + script_ + " | " + message; }

  TempDir dir_;
  std::string script_;
};

TEST_F(Extract, OneLetterArchiveGivesItsFileContentTimesAndAttributes) {
  // With and without a trailing backslash the destination paths are the same.
  for (const std::string& destination : {In("out"), In("out") + "\\"}) {
    DeleteFileA(In("out\\A.TXT").c_str());
    Texts calls = Run(kOneLetterArchive, destination);
    EXPECT_EQ(calls, Texts({"dialog Unpacking 1", "subdialog " + In("out\\A.TXT") + " 1",
                            "advance 1"}))
        << Lines(calls);
    // Facts first: reading the file would move its last-access time. (The creation time is
    // set too, but Wine keeps the file system's own birth time.)
    const FileFacts facts = FactsOf(In("out\\A.TXT"));
    EXPECT_EQ(facts.attributes, 0x20u);
    EXPECT_EQ(facts.accessed, kOneLetterFileTime);
    EXPECT_GT(facts.written, kOneLetterFileTime);  // the time of the writing, not the entry's
    EXPECT_EQ(ReadText(In("out\\A.TXT")), "A");
  }
  // An empty archive extracts nothing and reports nothing.
  EXPECT_EQ(Run({}, In("empty")), Texts({"dialog Unpacking 1"}));
  EXPECT_FALSE(Exists(In("empty")));
}

TEST_F(Extract, NestedFoldersAndProgressInTheDecodersBlocks) {
  const std::string big = Noise(10000, 7), page(4096, 'p');
  Bytes archive;
  AddFile(&archive, "SUB\\DEEP\\BIG.BIN", big, 0x21, 0, 0x01C0000000000000u);
  AddFile(&archive, "SUB/PAGE.TXT", page);  // a slash separates folders too
  // Four bytes of data as the last entry: an empty file, which the decoder must still take.
  const Bytes empty = HandLaidEntry("EMPTY.DAT", kEmptyStream, 0);
  archive.insert(archive.end(), empty.begin(), empty.end());

  Texts calls = Run(archive, In("out"));
  EXPECT_EQ(calls, Texts({"dialog Unpacking 1",
                          "subdialog " + In("out\\SUB\\DEEP\\BIG.BIN") + " 10000",
                          "advance 4096", "advance 4096", "advance 1808",
                          "subdialog " + In("out\\SUB\\PAGE.TXT") + " 4096",
                          "advance 4096", "advance 0",
                          "subdialog " + In("out\\EMPTY.DAT") + " 0", "advance 0"}))
      << Lines(calls);
  const FileFacts big_facts = FactsOf(In("out\\SUB\\DEEP\\BIG.BIN"));
  EXPECT_EQ(big_facts.attributes, 0x21u);
  EXPECT_EQ(big_facts.accessed, 0x01C0000000000000u);
  EXPECT_EQ(ReadText(In("out\\SUB\\DEEP\\BIG.BIN")), big);
  EXPECT_EQ(ReadText(In("out\\SUB\\PAGE.TXT")), page);
  EXPECT_TRUE(Exists(In("out\\EMPTY.DAT")));
  EXPECT_EQ(ReadText(In("out\\EMPTY.DAT")), "");
  EXPECT_EQ(FactsOf(In("out\\SUB\\DEEP")).attributes, DWORD{FILE_ATTRIBUTE_DIRECTORY});
}

TEST_F(Extract, PrioritiesSkipEntriesAndUpdateTheStore) {
  UpdatePriority(In("out\\SUB\\P3.TXT"), 3);
  UpdatePriority(In("out\\P5.TXT"), 4);
  Bytes archive;
  AddFile(&archive, "SUB\\P3.TXT", Noise(5000, 1), 0x20, 3);
  AddFile(&archive, "P5.TXT", "five", 0x20, 5);
  AddFile(&archive, "P0.TXT", "zero", 0x20, 0);

  Texts calls = Run(archive, In("out"), true);
  // The skipped entry still shows its name and moves the progress by its whole size once;
  // only its event tells it from an entry written.
  EXPECT_EQ(calls, Texts({"dialog Unpacking 1", "subdialog " + In("out\\SUB\\P3.TXT") + " 5000",
                          "advance 5000", "event 4 " + In("out\\SUB\\P3.TXT") + " 5000",
                          "subdialog " + In("out\\P5.TXT") + " 4", "advance 4",
                          "event 3 " + In("out\\P5.TXT") + " 4",
                          "subdialog " + In("out\\P0.TXT") + " 4", "advance 4",
                          "event 3 " + In("out\\P0.TXT") + " 4", "event 1 Files 2"}))
      << Lines(calls);
  EXPECT_TRUE(Exists(In("out\\SUB")));  // its folder is made all the same
  EXPECT_FALSE(Exists(In("out\\SUB\\P3.TXT")));
  EXPECT_EQ(ReadText(In("out\\P5.TXT")), "five");
  EXPECT_EQ(ReadText(In("out\\P0.TXT")), "zero");
  EXPECT_EQ(StoredPriority(In("out\\SUB\\P3.TXT")), 3u);
  EXPECT_EQ(StoredPriority(In("out\\P5.TXT")), 5u);
  EXPECT_EQ(StoredPriority(In("out\\P0.TXT")), 0u);

  // Again: priority 5 over the stored 5 is skipped now, and the file is left as it is.
  WriteText(In("out\\P5.TXT"), "changed");
  calls = Run(archive, In("out"));
  EXPECT_EQ(calls[3], "subdialog " + In("out\\P5.TXT") + " 4");
  EXPECT_EQ(calls[4], "advance 4");
  EXPECT_EQ(ReadText(In("out\\P5.TXT")), "changed");
}

TEST_F(Extract, CrcErrorRemovesTheBadFileAndEndsTheExtraction) {
  Bytes archive;
  AddFile(&archive, "GOOD.TXT", "good");
  const size_t bad_offset = archive.size();
  AddFile(&archive, "BAD.TXT", std::string(3000, 'b') + "end", 0x21);  // read-only
  AddFile(&archive, "LATER.TXT", "later");

  // A wrong stored CRC: the data decodes in full, then the file is removed.
  Bytes wrong_crc = archive;
  wrong_crc[bad_offset + 8] ^= 0x01;
  Texts calls = Run(wrong_crc, In("crc"));
  EXPECT_EQ(calls, Texts({"dialog Unpacking 1", "subdialog " + In("crc\\GOOD.TXT") + " 4",
                          "advance 4", "subdialog " + In("crc\\BAD.TXT") + " 3003",
                          "advance 3003", Log("section [Files] line #2, CRC error")}))
      << Lines(calls);
  EXPECT_EQ(ReadText(In("crc\\GOOD.TXT")), "good");
  EXPECT_FALSE(Exists(In("crc\\BAD.TXT")));
  EXPECT_FALSE(Exists(In("crc\\LATER.TXT")));

  // A flipped byte in the packed data: whatever it decodes to, the same report.
  Bytes bad_data = archive;
  bad_data[bad_offset + kQxzFixedHeaderSize + 8 + 5] ^= 0x40;
  calls = Run(bad_data, In("data"));
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back(), Log("section [Files] line #2, CRC error")) << Lines(calls);
  EXPECT_EQ(ReadText(In("data\\GOOD.TXT")), "good");
  EXPECT_FALSE(Exists(In("data\\BAD.TXT")));
  EXPECT_FALSE(Exists(In("data\\LATER.TXT")));
  EXPECT_EQ(EngineTemporaryFiles(), Texts());
}

TEST_F(Extract, TruncatedArchivesAreReportedAndLeaveNothingHalfDone) {
  Bytes archive;
  std::vector<size_t> starts;
  const Texts names = {"ONE.BIN", "TWO.TXT", "THREE.BIN"};
  for (const auto& name : names) {
    starts.push_back(archive.size());
    AddFile(&archive, name, name == "TWO.TXT" ? std::string(20, 't') : Noise(3000, 5));
  }
  starts.push_back(archive.size());

  const std::string corrupt = "ExtractQXZ: section [Files] line #2, " + SystemText(1392);
  for (size_t entry = 0; entry < names.size(); ++entry) {
    const size_t start = starts[entry];
    const size_t data = start + kQxzFixedHeaderSize + names[entry].size() + 1;
    const std::string invalid = "ExtractQXZ: section [Files] line #2, Invalid QXZ file format \"" +
                                names[entry] + "\"";
    // Cut at the entry's start (a shorter archive, nothing to report), inside its magic, its
    // fields, its name, at its NUL, and inside its data (the entry reaches past the end).
    const std::vector<std::pair<size_t, std::string>> cuts = {
        {start, ""},          {start + 2, corrupt},  {start + 4, corrupt},
        {start + 20, corrupt}, {start + 31, corrupt}, {start + 33, corrupt},
        {data - 1, corrupt},   {data + 1, invalid},   {starts[entry + 1] - 1, invalid}};
    for (const auto& [cut, report] : cuts) {
      const std::string out = In("cut" + std::to_string(cut));
      Texts calls = Run(Bytes(archive.begin(), archive.begin() + cut), out);
      Texts expected_logs;
      if (!report.empty()) expected_logs.push_back(Log(report));
      Texts logs;
      for (const auto& call : calls) {
        if (call.rfind("log ", 0) == 0) logs.push_back(call);
      }
      EXPECT_EQ(logs, expected_logs) << "cut at " << cut << "\n" << Lines(calls);
      for (size_t i = 0; i < names.size(); ++i) {
        EXPECT_EQ(Exists(out + "\\" + names[i]), i < entry) << names[i] << ", cut at " << cut;
      }
    }
  }
  EXPECT_EQ(EngineTemporaryFiles(), Texts());
}

TEST_F(Extract, NamesLeadingOutOfTheDestinationAreRefusedByName) {
  const Bytes stream = {0x00, 0x06, 0x82, 0x02, 0xFE, 0x01};  // the letter A
  const std::string rooted = dir_.path().substr(2) + "\\ROOTED.TXT";  // no drive letter
  const Texts names = {"..\\EVIL.TXT", "SUB\\..\\..\\EVIL.TXT", rooted, "C:EVIL.TXT",
                       "SUB\\.\\", "CON", "SUB\\LPT1.TXT"};
  for (const std::string& name : names) {
    Bytes archive;
    AddFile(&archive, "GOOD.TXT", "good");
    const Bytes evil = HandLaidEntry(name, stream, 0xD3D99E8B);
    archive.insert(archive.end(), evil.begin(), evil.end());
    AddFile(&archive, "LATER.TXT", "later");
    Texts calls = Run(archive, In("inner\\out"));
    EXPECT_EQ(calls, Texts({"dialog Unpacking 1", "subdialog " + In("inner\\out\\GOOD.TXT") + " 4",
                            "advance 4",
                            Log("ExtractQXZ: section [Files] line #2, Invalid QXZ file format \"" +
                                name + "\"")}))
        << Lines(calls);
    EXPECT_FALSE(Exists(In("inner\\EVIL.TXT")));
    EXPECT_FALSE(Exists(In("EVIL.TXT")));
    EXPECT_FALSE(Exists(In("ROOTED.TXT")));
    EXPECT_FALSE(Exists(In("inner\\out\\LATER.TXT")));
  }
}

TEST_F(Extract, MissingArchiveIsReportedWithTheSystemText) {
  Texts calls = qxi_test::RunText(
      dir_, "[Main]\nFileCopy Files\n[Files]\nUnpacking 1\nExtractQXZ \"" + In("none.qxz") +
                "\" \"" + In("out") + "\"\n",
      "Main", &script_);
  EXPECT_EQ(calls, Texts({"dialog Unpacking 1",
                          Log("ExtractQXZ: section [Files] line #2, " +
                              SystemText(ERROR_FILE_NOT_FOUND))}))
      << Lines(calls);
}

TEST_F(Extract, LockedDestinationIsReplacedAtRestartFromAStagedCopy) {
  const std::string out = In("out");
  const std::string locked = In("out\\LOCKED.DLL"), other = In("out\\OTHER.DLL");
  Bytes first;
  AddFile(&first, "LOCKED.DLL", "old contents");
  AddFile(&first, "OTHER.DLL", "other old");
  Run(first, out);
  ASSERT_EQ(ReadText(locked), "old contents");

  // Another program's pending replacement of OTHER.DLL names a file that is not ours.
  const std::string foreign = In("other.new");
  WriteText(foreign, "foreign");
  qxi_test::SetPendingFileRenameNames({NtName(foreign), ReplacingNtName(other)});

  FileHolder holder({locked, other});
  ASSERT_TRUE(holder.holding());
  Bytes second;
  AddFile(&second, "LOCKED.DLL", "second contents", 0x21, 2);  // read-only, priority 2
  AddFile(&second, "OTHER.DLL", "other new");
  Texts calls = Run(second, out, true);
  EXPECT_EQ(calls, Texts({"dialog Unpacking 1", "subdialog " + locked + " 15", "advance 15",
                          "event 5 " + locked + " 15", "subdialog " + other + " 9", "advance 9",
                          "event 5 " + other + " 9", "event 1 Files 2"}))
      << Lines(calls);
  // Each entry waits in a staged copy beside its destination, named for it; the later
  // operation for OTHER.DLL replaces the other program's.
  Texts staged = qxi_test::StagedCopiesIn(out);
  ASSERT_EQ(staged.size(), 2u);
  std::string locked_staged, other_staged;
  for (const auto& file : staged) {
    (ReadText(file) == "second contents" ? locked_staged : other_staged) = file;
  }
  EXPECT_EQ(ReadText(other_staged), "other new");
  EXPECT_EQ(FactsOf(locked_staged).attributes, 0x21u);
  EXPECT_EQ(PendingFileRenameNames(),
            Texts({NtName(locked_staged), ReplacingNtName(locked), NtName(other_staged),
                   ReplacingNtName(other)}));
  EXPECT_EQ(ReadText(foreign), "foreign");  // its operation dropped, but the file kept
  EXPECT_EQ(StoredPriority(locked), 2u);
  EXPECT_EQ(EngineTemporaryFiles(), Texts());  // nothing in the temporary folder

  // Still locked: the earlier staged copies are deleted (the read-only one too) and the
  // operations name the new ones.
  Bytes third;
  AddFile(&third, "LOCKED.DLL", "third contents", 0x20, 3);
  AddFile(&third, "OTHER.DLL", "other third");
  calls = Run(third, out);
  EXPECT_EQ(calls.size(), 5u) << Lines(calls);
  EXPECT_FALSE(Exists(locked_staged));
  EXPECT_FALSE(Exists(other_staged));
  staged = qxi_test::StagedCopiesIn(out);
  ASSERT_EQ(staged.size(), 2u);
  for (const auto& file : staged) {
    (ReadText(file) == "third contents" ? locked_staged : other_staged) = file;
  }
  EXPECT_EQ(PendingFileRenameNames(),
            Texts({NtName(locked_staged), ReplacingNtName(locked), NtName(other_staged),
                   ReplacingNtName(other)}));
  EXPECT_EQ(StoredPriority(locked), 3u);

  // The restart puts the new contents in place.
  EXPECT_EQ(holder.Release(), 0u);
  EXPECT_EQ(ReadText(locked), "old contents");
  qxi_test::Restart();
  EXPECT_EQ(ReadText(locked), "third contents");
  EXPECT_EQ(ReadText(other), "other third");
  EXPECT_EQ(qxi_test::StagedCopiesIn(out), Texts());
  EXPECT_FALSE(qxi_test::HasPendingFileRenames());
}

}  // namespace
}  // namespace qxi
