// What the save and load commands ask and which file S writes afterwards:
// a file chosen in the save dialog is replaced only after "File Replacement";
// settings, brush-image, swatch and palette files never become the name S
// saves the painting under; a project cut short loads what it holds and S
// says so before it overwrites the longer file.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/app_state.h"
#include "app/file_commands.h"
#include "io/atomic_file.h"
#include "io/png16.h"
#include "io/segment.h"
#include "layers/layer.h"
#include "tests/gl_fixture.h"
#include "tests/script_run.h"
#include "tests/temp_dir.h"

namespace {

const std::string stroke = "mouse 30 30\ndown left\nframe\nmouse 120 60\nframe 3\nup left\nframe\n";
const std::string ctrl_s = "key down Left Ctrl\nkey press S\nframe\nkey up Left Ctrl\nframe\n";
const std::string ctrl_shift_s =
    "key down Left Ctrl\nkey down Left Shift\nkey press S\nframe\nkey up Left Shift\nkey up Left Ctrl\nframe\n";

io::Bytes bytes_of(const std::string& path) {
  Result<io::Bytes> b = io::read_file(path);
  return b ? std::move(*b) : io::Bytes{};
}

void write_bytes(const std::string& path, const io::Bytes& bytes) {
  io::AtomicFile f(path);
  f.write(bytes.data(), bytes.size());
  ASSERT_TRUE(f.commit());
}

int segments_in(const std::string& path) {
  const io::Bytes b = bytes_of(path);
  io::SegmentReader r(b);
  int n = 0;
  for (Result<io::Segment> s = r.read_segment(SIZE_MAX); s && s->status == io::SegmentStatus::ok;
       s = r.read_segment(SIZE_MAX))
    ++n;
  return n;
}

// Runs `script` and returns what it wrote to standard error (the questions
// no answer was queued for, with their caption and text).
std::string run_logged(ScriptRun& run, const std::string& script) {
  testing::internal::CaptureStderr();
  const std::string error = run.run(script);
  const std::string log = testing::internal::GetCapturedStderr();
  EXPECT_EQ(error, "") << script;
  return log;
}

}  // namespace

TEST(FileQuestions, SaveDialogAsksOnceBeforeReplacingAFile) {
  ScriptRun run;
  const std::string olp = test_file("replace.olp"), other = test_file("other.png");
  ASSERT_EQ(run.run(stroke + "choose " + olp + "\n" + ctrl_s), "");
  const io::Bytes first = bytes_of(olp);
  ASSERT_FALSE(first.empty());
  // A new file: no question was asked, so no answer was needed.
  EXPECT_EQ(run.dialogs.pending(), 0u);

  // The same name again through the dialog: without an answer the question
  // is cancelled and the file stays.
  std::string log = run_logged(run, "key press F9\nframe\nchoose " + olp + "\n" + ctrl_s);
  EXPECT_NE(log.find("\"File Replacement\" Overwrite " + olp + "?"), std::string::npos) << log;
  EXPECT_EQ(log.find("File Replacement", log.find("File Replacement") + 1), std::string::npos)
      << "asked more than once: " << log;
  EXPECT_EQ(bytes_of(olp), first);
  EXPECT_EQ(segments_in(olp), 1 + 17);

  // OK replaces it: the two layers are in the file now, and nothing was left queued.
  ASSERT_EQ(run.run("answer ok\nchoose " + olp + "\n" + ctrl_s), "");
  EXPECT_EQ(segments_in(olp), 1 + 2 * 17);
  EXPECT_EQ(run.dialogs.pending(), 0u);

  // The colour/height pair asks when either of its files exists.
  ASSERT_EQ(run.run("choose " + other + "\n" + ctrl_shift_s), "");
  const std::string col = test_file("other_col.png");
  const io::Bytes col_before = bytes_of(col);
  ASSERT_FALSE(col_before.empty());
  ASSERT_EQ(run.dialogs.pending(), 0u);
  ASSERT_EQ(run.run(stroke), "");
  log = run_logged(run, "choose " + other + "\n" + ctrl_shift_s);
  EXPECT_NE(log.find("File Replacement"), std::string::npos) << log;
  EXPECT_EQ(bytes_of(col), col_before);

  // The script's `save` names the file it means to write: it asks nothing.
  ASSERT_EQ(run.run("save " + olp + "\nframe\n"), "");
  EXPECT_EQ(run.dialogs.pending(), 0u);
  EXPECT_EQ(segments_in(olp), 1 + 2 * 17);
}

TEST(FileQuestions, SettingsAndColourFilesLeaveThePaintingsName) {
  ScriptRun run;
  const std::string olp = test_file("painting.olp"), ols = test_file("mine.ols"), olc = test_file("mine.olc"),
                    oli = test_file("mine.oli"), gpl = test_file("mine.gpl");
  ASSERT_EQ(run.run(stroke + "save " + olp + "\nframe\n"), "");
  EXPECT_EQ(file_commands.current_name, olp);
  EXPECT_EQ(app.title, std::string(base_window_title) + "   " + olp);
  // Saved and loaded again, each small file leaves the name as it was.
  for (const std::string& f : {ols, olc, oli}) {
    ASSERT_EQ(run.run("save " + f + "\nframe\nload " + f + "\nframe\n"), "") << f;
    EXPECT_TRUE(std::filesystem::exists(f)) << f;
    EXPECT_EQ(file_commands.current_name, olp) << f;
  }
  // A palette loaded becomes a swatch column, which saves as a GIMP palette.
  const std::string pal = test_file("old.pal");
  const std::string jasc = "JASC-PAL\r\n0100\r\n2\r\n255 0 0\r\n0 255 0\r\n";
  write_bytes(pal, io::Bytes(jasc.begin(), jasc.end()));
  ASSERT_EQ(run.run("load " + pal + "\nframe\n"), "");
  EXPECT_EQ(file_commands.current_name, olp);
  ASSERT_EQ(run.run("save " + gpl + "\nframe\nload " + gpl + "\nframe\n"), "");
  EXPECT_TRUE(std::filesystem::exists(gpl));
  EXPECT_EQ(file_commands.current_name, olp);
  EXPECT_EQ(app.title, std::string(base_window_title) + "   " + olp);

  // S saves the painting, a layer more now, into its project.
  const io::Bytes settings = bytes_of(ols);
  ASSERT_EQ(run.run("key press F9\nframe\nanswer ok\nkey press S\nframe 2\n"), "");
  EXPECT_EQ(segments_in(olp), 1 + 2 * 17);
  EXPECT_EQ(bytes_of(ols), settings);
}

TEST(FileQuestions, ProjectCutShortLoadsWhatItHoldsAndSIsWarned) {
  const std::string olp = test_file("five.olp"), cut = test_file("cut.olp");
  io::Bytes quarter;
  {
    // Five layers, each with a stroke; the broad strokes of the first make it
    // most of the file, so a quarter ends inside it.
    ScriptRun run;
    std::string paint = "set \"BRUSH:SIZE\" 40\n" + stroke + "mouse 10 80\ndown left\nframe\nmouse 150 10\nframe 3\n" +
                        "up left\nframe\nset \"BRUSH:SIZE\" 8\n";
    for (int i = 1; i < 5; ++i) paint += "key press F9\nframe\n" + stroke;
    ASSERT_EQ(run.run(paint + "save " + olp + "\nframe\n"), "");
    const io::Bytes whole = bytes_of(olp);
    ASSERT_EQ(segments_in(olp), 1 + 5 * 17);
    quarter.assign(whole.begin(), whole.begin() + std::ptrdiff_t(whole.size() / 4));
    write_bytes(cut, quarter);
  }

  // A fresh canvas, then the cut file: what it holds loads, and the log says how much.
  ScriptRun fresh;
  std::string log = run_logged(fresh, "load " + cut + "\nframe\n");
  EXPECT_NE(log.find(cut + ": the file ends in layer 1 of 5, after "), std::string::npos) << log;
  ASSERT_GE(layers.list.size(), 1u);
  EXPECT_LT(layers.list.size(), 5u);
  EXPECT_EQ(file_commands.current_name, cut);
  EXPECT_EQ(app.title, std::string(base_window_title) + "   " + cut);

  // S asks, saying the file holds more than was loaded; Cancel keeps it.
  log = run_logged(fresh, "key press S\nframe 2\n");
  EXPECT_NE(log.find("\"File Replacement\" " + cut + " was loaded only in part (the file ends in layer 1 of 5"),
            std::string::npos)
      << log;
  EXPECT_EQ(bytes_of(cut), quarter);
  // OK writes the painting; after that S asks the plain question again.
  ASSERT_EQ(fresh.run("answer ok\nkey press S\nframe 2\n"), "");
  EXPECT_NE(bytes_of(cut), quarter);
  EXPECT_EQ(segments_in(cut), 1 + int(layers.list.size()) * 17);
  log = run_logged(fresh, "key press S\nframe 2\n");
  EXPECT_NE(log.find("\"File Replacement\" Overwrite " + cut + "?"), std::string::npos) << log;
}

// Saving changes nothing about what Ctrl+Z brings back: S pressed while the
// button is held keeps the stroke's snapshot, and a save between a paste and
// the next stroke keeps the paste's.
TEST(FileQuestions, SavingKeepsTheUndoSnapshot) {
  ScriptRun run;
  const std::string olp = test_file("undo.olp"), png = test_file("undo_paste.png");
  ASSERT_EQ(run.run("save " + olp + "\nframe\nmouse 30 30\ndown left\nframe\nmouse 60 40\nframe 2\n"), "");
  ASSERT_TRUE(layers.active->UNDO_GET & undo_snapshot_taken);
  ASSERT_EQ(run.run("answer ok\nkey press S\nframe\n"), "");
  EXPECT_TRUE(layers.active->UNDO_GET & undo_snapshot_taken) << "the save dropped the stroke's snapshot";
  ASSERT_EQ(run.run("mouse 120 60\nframe 2\nup left\nframe\n"), "");
  EXPECT_EQ(layers.active->UNDO_GET, 0);

  // A picture pasted over the stroke, a save, a stroke: Ctrl+Z shows the
  // layer before the paste, with the first stroke only.
  const std::vector<float> first_stroke = read_texture(layers.active->fbo_mat(), 160, 90, GL_RED, 1);
  std::vector<float> grey(8 * 6 * 3, 0.5f);
  ASSERT_TRUE(io::png16_write(png, grey, 8, 6, 3).ok());
  ASSERT_EQ(run.run("clipboard " + png +
                    "\nanswer no\nkey down Left Ctrl\nkey press V\nframe\nkey up Left Ctrl\nframe\n"
                    "answer ok\nkey press S\nframe\n"
                    "mouse 20 70\ndown left\nframe\nmouse 140 70\nframe 2\nup left\nframe\n"
                    "key down Left Ctrl\nkey press Z\nframe\nkey up Left Ctrl\nframe\n"),
            "");
  ASSERT_TRUE(layers.active->showing_undo());
  EXPECT_EQ(read_texture(layers.active->undo_mat(), 160, 90, GL_RED, 1), first_stroke);
}
