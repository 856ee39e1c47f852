// Fills the partition's node factory with the node classes built so far.
#pragma once

// Registers a constructor for every node keyword whose class exists; may be
// called any number of times.
void KsRegisterNodeLibrary();
