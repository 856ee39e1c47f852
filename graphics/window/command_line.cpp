#include "graphics/window/command_line.h"

#include "graphics/files/tokens.h"

#include <cstring>

namespace {

void CopyCut(char* out, int size, const char* text) {
  int n = 0;
  if (text) {
    while (n < size - 1 && text[n] != '\0') {
      out[n] = text[n];
      ++n;
    }
  }
  out[n] = '\0';
}

}  // namespace

int PwBuildArguments(PwArgumentVector* args, const char* module_name, const char* command_line) {
  if (module_name && module_name[0] != '\0') {
    CopyCut(args->module_name, kPwModuleNameSize, module_name);
  } else {
    CopyCut(args->module_name, kPwModuleNameSize, kPwUnknownModule);
  }
  CopyCut(args->line, kPwCommandLineSize, command_line);
  args->argv[0] = args->module_name;
  int count = 0;
  PwSplitTokens(&count, args->argv + 1, kPwMaxArguments, args->line);
  args->argc = 1 + count;
  return args->argc;
}
