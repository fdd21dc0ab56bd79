#include "app/document/Document.h"

#include <filesystem>

namespace loom::app {

std::string fileName(const std::string& path) { return std::filesystem::path(path).filename().string(); }

std::string Document::name() const { return pasted ? "clipboard" : fileName(path); }

}  // namespace loom::app
