// The open and save dialogs' filters as GTK itself matches them (no display
// needed): every kind of file the program reads is listed whatever the case
// of its extension.
#include <gtest/gtest.h>
#include <gtk/gtk.h>

#include <string>
#include <vector>

#include "app/file_commands.h"
#include "platform/live/gtk_dialogs.h"

namespace {

// The dialog's filters, owned for the test.
class Filters {
 public:
  explicit Filters(const char* filters) : list_(platform::gtk_filters(filters)) {
    for (GtkFileFilter* f : list_) g_object_ref_sink(f);
  }
  ~Filters() {
    for (GtkFileFilter* f : list_) g_object_unref(f);
  }
  Filters(const Filters&) = delete;
  Filters& operator=(const Filters&) = delete;

  std::size_t size() const { return list_.size(); }
  GtkFileFilter* at(std::size_t i) const { return list_.at(i); }
  // The filter of that name; fails the test when there is none.
  GtkFileFilter* named(const std::string& name) const {
    for (GtkFileFilter* f : list_)
      if (name == gtk_file_filter_get_name(f)) return f;
    ADD_FAILURE() << "no filter named " << name;
    return nullptr;
  }

 private:
  std::vector<GtkFileFilter*> list_;
};

bool shows(GtkFileFilter* f, const char* file) {
  if (!f) return false;
  GtkFileFilterInfo info{};
  info.contains = GtkFileFilterFlags(GTK_FILE_FILTER_DISPLAY_NAME | GTK_FILE_FILTER_FILENAME);
  info.filename = file;
  info.display_name = file;
  return gtk_file_filter_filter(f, &info);
}

}  // namespace

TEST(GtkFileFilters, OpenDialogShowsEveryReadableFileInAnyCase) {
  const Filters f(open_dialog_filters);
  ASSERT_GE(f.size(), 2u);
  GtkFileFilter* readable = f.at(0);
  for (const char* file : {"IMG_0001.JPG", "PHOTO.PNG", "OLD.PAL", "scan.jpeg", "SCAN.JPEG", "a.jpg", "Painting.Olp",
                           "x.ORA", "s.OLS", "b.oli", "c.OLC", "p.GPL"})
    EXPECT_TRUE(shows(readable, file)) << file;
  for (const char* file : {"notes.txt", "a.jpgx", "jpg", "a.pn", "a.jp"}) EXPECT_FALSE(shows(readable, file)) << file;

  EXPECT_TRUE(shows(f.named("Jpeg Images"), "IMG_0001.JPG"));
  EXPECT_TRUE(shows(f.named("Jpeg Images"), "photo.Jpeg"));
  EXPECT_FALSE(shows(f.named("Jpeg Images"), "PHOTO.PNG"));
  EXPECT_TRUE(shows(f.named("Png Images"), "PHOTO.PNG"));
  EXPECT_TRUE(shows(f.named("riff pallet"), "OLD.PAL"));
  EXPECT_TRUE(shows(f.named("Ollan Projects"), "PAINTING.OLP"));

  // The last filter shows every file.
  GtkFileFilter* all = f.at(f.size() - 1);
  EXPECT_STREQ(gtk_file_filter_get_name(all), "All files (*)");
  for (const char* file : {"notes.txt", "README", "IMG_0001.JPG", ".hidden"}) EXPECT_TRUE(shows(all, file)) << file;
}

TEST(GtkFileFilters, SaveDialogFiltersMatchInAnyCase) {
  const Filters f(save_dialog_filters);
  EXPECT_TRUE(shows(f.named("project(*.olp)"), "OLD.OLP"));
  EXPECT_TRUE(shows(f.named("export JPEG(*.jpg)"), "OUT.JPEG"));
  EXPECT_TRUE(shows(f.named("export JPEG(*.jpg)"), "out.JPG"));
  EXPECT_FALSE(shows(f.named("export JPEG(*.jpg)"), "out.png"));
  const Filters png(png_dialog_filters);
  EXPECT_TRUE(shows(png.named("export 16bit PNG(*.png)"), "SHOT.PNG"));
  EXPECT_TRUE(shows(png.named("All Files"), "anything.else"));
}
