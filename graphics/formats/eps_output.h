// The EPS output: while it is on, every shape drawn on the screen is also
// written to an Encapsulated PostScript page of the drawing area's
// proportions. The entries the drawing calls feed are declared in
// graphics/state3d/eps_output_state.h.
#pragma once

// 1 with the page open (header and prolog written); 0 when already active,
// when a size is not positive or when the file cannot be opened. The page
// keeps the drawing area's proportions inside width x height points.
int PwEpsBegin(const char* path, int width, int height);
// 1 with the trailer written and the file closed; 0 when not active or when
// the page could not be written completely.
int PwEpsEnd();

// For tests: closes an open page as it stands and forgets everything.
void PwEpsResetState();
// The page extent in EPS units and the scale (EPS units per pixel).
void PwEpsGetPage(int* eps_width, int* eps_height, float* scale);
