#include "app/notices/ErrorReport.h"

#include <iostream>
#include <new>

#include "framework/MessageBox.h"

namespace loom {
namespace app {

void reportError(framework::NativeWindow* parent, const std::string& title, const std::string& message) {
    std::cerr << "QuennetApp: " << title << ": " << message << std::endl;
    std::string why;
    if (!framework::showErrorMessageBox(parent, title, message, &why))
        std::cerr << "QuennetApp: (the message box could not be shown: " << why << ")" << std::endl;
}

std::string describeFailure(const std::exception& e) {
    if (dynamic_cast<const std::bad_alloc*>(&e)) return "not enough memory";
    const std::string what = e.what();
    return what.empty() ? "unknown error" : what;
}

}  // namespace app
}  // namespace loom
