#pragma once
// The open and save file dialogs of the live window, through GTK 3, and the
// confirmation box for when SDL cannot show one.
#include <optional>
#include <string>
#include <vector>

#include "platform/window.h"

typedef struct _GtkFileFilter GtkFileFilter;

namespace platform {

// The dialog filters for `filters` (entries as below), matching their
// extensions in any case (platform/file_filters.h). Each is floating: the
// chooser that adds it takes it over.
std::vector<GtkFileFilter*> gtk_filters(const std::string& filters);

// `filters` is a list of "Description|*.ext;*.ext2" entries separated by
// '\n'. Nothing when the dialog was cancelled or GTK cannot open a window
// (the reason is written to standard error).
std::optional<std::string> gtk_open_file(const std::string& title, const std::string& filters);
// `suggested` (a path or a name) is preset. The dialog does not ask about an
// existing file: the save command asks "File Replacement" itself, once.
std::optional<std::string> gtk_save_file(const std::string& title, const std::string& filters,
                                         const std::string& suggested);
// A modal question with OK and Cancel (or Yes, No and Cancel); nothing when
// GTK cannot open a window.
std::optional<Answer> gtk_confirm(const std::string& caption, const std::string& text, bool yes_no_cancel);

}  // namespace platform
