#pragma once

namespace velmora {

// Installs Qt's own Japanese translation (qtbase_ja from Qt's translations
// folder) into the running application, so that the standard buttons and
// dialogs read はい, いいえ, キャンセル like the rest of the program. False when
// the translation is not installed (package qt6-translations-l10n); the
// texts then stay English.
bool UseJapaneseTranslation();

}  // namespace velmora
