// The resources built into the program (icon, help pages) live in a static library, whose registration
// the linker drops unless something refers to it; every user of a ":/" path calls this first.
#pragma once

// Registers the built-in resources once; later calls do nothing.
void EnsureResources();
