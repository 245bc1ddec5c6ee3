// The run time's own terminate handler writes the demangled name of an
// uncaught exception to standard error, which a GUI program does not have.
// Ending at once instead keeps its demangler, a third of the C++ run time
// that a static link brings in, out of the exe.
#include <cstdlib>

namespace __gnu_cxx {

void __verbose_terminate_handler() {
    std::abort();
}

}  // namespace __gnu_cxx
