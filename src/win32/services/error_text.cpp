#include "error_text.h"

#include "scoped.h"

namespace kelvaro {

std::string ErrorText(DWORD error, const std::string& program) {
    LocalMemory<char*> text;
    DWORD length = FormatMessageA(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
        nullptr, error, 0, reinterpret_cast<LPSTR>(text.receive()), 0, nullptr);
    std::string reason;
    if (length != 0 && text.get() != nullptr) reason.assign(text.get(), length);
    while (!reason.empty() &&
           (reason.back() == '\r' || reason.back() == '\n' || reason.back() == ' ')) {
        reason.pop_back();
    }
    if (reason.empty()) reason = "Error " + std::to_string(error);
    for (size_t at = reason.find("%1"); at != std::string::npos;
         at = reason.find("%1", at + program.size())) {
        reason.replace(at, 2, program);
    }
    return reason;
}

}  // namespace kelvaro
