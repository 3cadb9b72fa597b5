#pragma once

namespace vorn {

// Qt's own dialogs in Japanese (print and its properties, page set-up, the
// file dialogs, message boxes): Qt's catalogue, then the program's own
// (qtdialogs_ja.ts) with the texts that Qt's lacks or leaves in English.
// Call once the application object exists; the translators belong to it.
void InstallQtJapanese();

} // namespace vorn
