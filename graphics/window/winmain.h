// The application's main function, which the library's process entry calls
// with the argument vector it built from the command line.
#pragma once

int ViewerMain(int argc, char** argv);
