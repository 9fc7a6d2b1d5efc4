// The callback side of qxirun: a recorded callback sequence drives the observer, and the plain
// output, the failure lines, the log file, the bars and the summary figures must follow.
#include "run_observer.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <memory>
#include <string>

#include "progress_display.h"
#include "progress_text.h"
#include "qxi.h"
#include "run_summary.h"

namespace qxirun {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

/// A temporary stream that the test reads back.
class Capture {
 public:
  Capture() : file_(std::tmpfile()) {}
  std::FILE* get() const { return file_.get(); }
  std::string Text() const {
    std::fflush(file_.get());
    std::rewind(file_.get());
    std::string text;
    char buffer[512];
    size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file_.get())) > 0) text.append(buffer, n);
    // Text-mode streams on Windows end lines with CR LF.
    std::string plain;
    for (char c : text)
      if (c != '\r') plain += c;
    return plain;
  }

 private:
  std::unique_ptr<std::FILE, FileCloser> file_;
};

TEST(RunObserver, CopySectionThenCommandSectionInPlainLines) {
  Capture out, err, log;
  ASSERT_TRUE(out.get() && err.get() && log.get());
  PlainProgressDisplay display(out.get(), err.get());
  RunObserver observer(display, log.get());

  observer.SetDialog("Copying files", 10500);
  observer.SetSubDialog("a.dll", 10000);
  observer.Advance(4096);
  EXPECT_EQ(observer.progress().file_done(), 4096);
  EXPECT_EQ(FileBarLine(observer.progress()),
            "   a.dll [############..................] 40% of 10000 bytes");
  observer.Advance(4096);
  observer.Advance(1808);
  EXPECT_EQ(FileBarLine(observer.progress()),
            "   a.dll [##############################] 100% of 10000 bytes");
  observer.Event(QXI_EVENT_FILE_WRITTEN, "C:\\App\\a.dll", 10000);
  observer.Event(QXI_EVENT_LINE_RUN, "Files", 2);
  // Refused by its priority: announced, no byte written, and its line says so.
  observer.SetSubDialog("b.dll", 500);
  observer.Event(QXI_EVENT_FILE_LEFT, "C:\\App\\b.dll", 500);
  observer.Event(QXI_EVENT_LINE_RUN, "Files", 3);
  // Locked: it waits for the restart.
  observer.SetSubDialog("c.dll", 7);
  observer.Advance(7);
  observer.Event(QXI_EVENT_FILE_DEFERRED, "C:\\App\\c.dll", 7);
  observer.Event(QXI_EVENT_LINE_RUN, "Files", 4);
  // A damaged entry: announced and partly written, then logged, with no outcome.
  observer.SetSubDialog("C:\\App\\bad.txt", 3003);
  observer.Advance(3003);
  observer.Log("C:\\setup.qxs", "section [Files] line #5, CRC error");
  observer.Event(QXI_EVENT_LINE_RUN, "Files", 5);

  observer.SetDialog("Settings", 3);
  EXPECT_FALSE(observer.progress().has_file());
  observer.Advance(1);
  observer.Event(QXI_EVENT_LINE_RUN, "Settings", 2);
  EXPECT_EQ(SectionBarLine(observer.progress()),
            "Settings [##########....................] 33%");
  observer.Log("C:\\setup.qxs", "Unknown command, section [Settings] line #3");
  observer.Event(QXI_EVENT_LINE_SKIPPED, "Settings", 4);
  observer.Advance(1);
  observer.Event(99, "a kind of a later version", 1);
  observer.Finish();

  EXPECT_EQ(out.Text(),
            "== Copying files (10500)\n"
            "   a.dll (10000 bytes)\n"
            "   b.dll (500 bytes) left by priority\n"
            "   c.dll (7 bytes) waiting for the restart\n"
            "   C:\\App\\bad.txt (3003 bytes)\n"
            "== Settings (3)\n");
  EXPECT_EQ(err.Text(),
            "C:\\setup.qxs: section [Files] line #5, CRC error\n"
            "C:\\setup.qxs: Unknown command, section [Settings] line #3\n");
  EXPECT_EQ(log.Text(), err.Text());

  EXPECT_EQ(FormatSummary(observer.progress().counts(), {3, 2}),
            "Sections run: 2\n"
            "Lines run: 5\n"
            "Lines skipped by a condition: 1\n"
            "Errors logged: 2\n"
            "Files written: 1\n"
            "Files left by priority: 1\n"
            "Files waiting for the restart: 1\n"
            "Bytes written: 10000\n"
            "Deferred operations waiting in PendingFileRenameOperations: 3\n"
            "Deferred operations waiting in WININIT.INI [Rename]: 2\n");
}

TEST(RunObserver, QuietDisplayShowsFailuresOnly) {
  Capture err;
  ASSERT_TRUE(err.get());
  PlainProgressDisplay display(nullptr, err.get());
  RunObserver observer(display, nullptr);
  observer.SetDialog("Hello", 1);
  observer.SetSubDialog("b.txt", 5);
  observer.Advance(5);
  observer.Event(QXI_EVENT_FILE_WRITTEN, "C:\\b.txt", 5);
  observer.Log("", "Section not found");
  observer.Finish();
  EXPECT_EQ(err.Text(), ": Section not found\n");
  EXPECT_EQ(observer.progress().counts().errors, 1);
  EXPECT_EQ(observer.progress().counts().bytes_written, 5);
}

TEST(ProgressTracker, AdvancesMoveBarsAndCountNothing) {
  ProgressTracker progress;
  progress.BeginSection("Files", 300);
  // A deferred replacement after a partly written block: the whole size comes again.
  progress.BeginFile("locked.dll", 200);
  progress.Advance(100);
  progress.Advance(200);
  EXPECT_EQ(progress.file_done(), 300);
  // The file is complete: the advance of the Include line that ran this copy is the
  // section's alone.
  progress.Advance(1);
  EXPECT_EQ(progress.file_done(), 300);
  EXPECT_EQ(progress.section_done(), 301);
  progress.BeginFile("skipped.dll", 50);
  EXPECT_EQ(progress.file_outcome(), FileOutcome::kPending);
  progress.BeginSection("Next", 1);
  EXPECT_FALSE(progress.has_file());
  progress.Advance(1);

  EXPECT_EQ(progress.counts().sections, 2);
  EXPECT_EQ(progress.counts().lines_run, 0);
  EXPECT_EQ(progress.counts().bytes_written, 0);
  EXPECT_EQ(progress.section_done(), 1);
}

TEST(ProgressTracker, SizesOfTwoGigabytesAndMoreAreNotNegative) {
  ProgressTracker progress;
  progress.BeginSection("Big", 0);
  progress.BeginFile("disk.img", static_cast<int>(3000000000u));
  EXPECT_EQ(progress.file_size(), 3000000000LL);
  progress.Advance(4096);
  EXPECT_EQ(progress.file_done(), 4096);
  progress.CountEvent(QXI_EVENT_FILE_WRITTEN, 3000000000u);
  progress.CountEvent(QXI_EVENT_FILE_WRITTEN, 3000000000u);
  EXPECT_EQ(progress.counts().bytes_written, 6000000000LL);
}

TEST(TextBar, FillsInProportionAndClamps) {
  EXPECT_EQ(TextBar(0, 10, 10), "[..........]");
  EXPECT_EQ(TextBar(5, 10, 10), "[#####.....]");
  EXPECT_EQ(TextBar(9, 10, 4), "[###.]");
  EXPECT_EQ(TextBar(15, 10, 4), "[####]");
  EXPECT_EQ(TextBar(-3, 10, 4), "[....]");
  // A header number of 0 (or a negative one) gives no scale: the bar stays empty.
  EXPECT_EQ(TextBar(3, 0, 4), "[....]");
  EXPECT_EQ(TextBar(3, -5, 4), "[....]");
  // Sizes near the 32-bit limit do not overflow the proportion.
  EXPECT_EQ(TextBar(2147483647LL, 2147483647LL, 30), "[" + std::string(30, '#') + "]");
}

TEST(ProgressText, PlainLinesAndLiveLines) {
  ProgressTracker progress;
  progress.BeginSection("Installing \"core\"", 7);
  EXPECT_EQ(SectionStartLine(progress), "== Installing \"core\" (7)");
  EXPECT_EQ(FileBarLine(progress), "");
  progress.Advance(9);  // more than the header said
  EXPECT_EQ(SectionBarLine(progress), "Installing \"core\" [##############################] 100%");
  progress.BeginFile("C:\\Program Files\\App\\app.exe", 123);
  EXPECT_EQ(FileStartLine(progress), "   C:\\Program Files\\App\\app.exe (123 bytes)");
  ProgressTracker unscaled;
  unscaled.BeginSection("No total", 0);
  unscaled.Advance(1);
  unscaled.Advance(1);
  EXPECT_EQ(SectionBarLine(unscaled), "No total [..............................] 2");
}

}  // namespace
}  // namespace qxirun
