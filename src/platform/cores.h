// The number of processor cores the process may run on.
#pragma once

namespace platform {

// The cores this process may use: those of its affinity mask (a process started under taskset or in a
// container limited to some cores gets only those), else the machine's count; at least 1.
unsigned UsableCores();

}  // namespace platform
