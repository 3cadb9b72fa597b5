#pragma once

// Writing an export (a table, an image, a document) where the user pointed.

#include "platform/ErrnoReason.h"

#include <string>
#include <string_view>

namespace vorn {

// Writes `bytes` as the file `path`, whole or not at all: through a synced
// temporary file beside it that is renamed over it. A file already there
// keeps its permission bits; a new one gets those the umask leaves of 0666.
// A name that is a folder, a FIFO or a device is refused before anything is
// written. On failure nothing new is left at `path` or beside it.
IoStatus WriteExport(const std::string& path, std::string_view bytes);

// The user's message for a failed export of `path`:
// "ファイル「…」に書き出せませんでした。\n理由: …".
std::string ExportFailure(const std::string& path, const IoStatus& why);

} // namespace vorn
