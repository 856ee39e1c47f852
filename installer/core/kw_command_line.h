// What the installer's command line asks for.
#pragma once

#include <cstddef>

enum class KwMode { kInstall, kUninstallRequest, kSecondStage };

// One leading "/" is skipped; "r"/"R" asks for the uninstall, "x <path>"
// is the second uninstall stage, anything else installs. For the second
// stage, *stage_path points at the text after "x ".
KwMode KwChooseMode(const char* command_line, const char** stage_path);

// The path given to the second stage, without surrounding blanks or
// quotes; 0 when it does not fit.
int KwStagePath(const char* text, char* out, std::size_t size);
