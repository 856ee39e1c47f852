// The process entry's argument vector, built from the module name and the
// command line.
#pragma once

constexpr int kPwModuleNameSize = 260;   // argv[0]'s buffer
constexpr int kPwCommandLineSize = 256;  // the command line's copy, terminator included
constexpr int kPwMaxArguments = 126;     // after argv[0]

// argv[0] when the module name cannot be had.
constexpr const char kPwUnknownModule[] = "Unknown";

// Everything the entry keeps alive for the application's whole run.
struct PwArgumentVector {
  char module_name[kPwModuleNameSize];
  char line[kPwCommandLineSize];
  char* argv[kPwMaxArguments + 2];  // argv[0], the arguments, null
  int argc;
};

// Fills args: argv[0] is module_name (kPwUnknownModule when null or empty;
// cut to 259 characters), then the command line (cut to 255 characters)
// split by PwSplitTokens into at most 126 arguments. Returns argc.
int PwBuildArguments(PwArgumentVector* args, const char* module_name, const char* command_line);
