// The file dialogs' portable half: the one-extension filter, the default
// name, and the path handed back.
#pragma once

namespace kr {

constexpr int kExtensionMax = 63;  // longer extensions are cut
constexpr int kFilterSize = 2 * kExtensionMax + 16;

// "*.wrl", ".wrl", "wrl" -> "wrl": one leading '*', then one leading '.'.
const char* ExtensionWord(const char* extension);
// "(*.e)|*.e||" with every '|' a terminator; out holds kFilterSize.
void BuildFilter(char* out, const char* extension);
// The default extension for the dialog (the extension word, cut to
// kExtensionMax characters); out holds kExtensionMax + 1.
void DefaultExtension(char* out, const char* extension);
// Copies src into dest of size characters: 1, or 0 with dest empty when it
// does not fit (a null src gives an empty dest and 1).
int CopyPath(char* dest, int size, const char* src);
// Letters A to Z to lower case, nothing else.
void LowerAscii(char* text);

}  // namespace kr
