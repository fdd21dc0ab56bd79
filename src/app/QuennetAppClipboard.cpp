// The clipboard: Ctrl+C offers the result shown (the frame on screen of an animation) as PNG and
// BMP, and as the file it was saved to; Ctrl+V shows the picture another program copied, or the
// file it copied, as if it had been dropped. Neither waits for the other program.
#include <cctype>
#include <cstdlib>

#include "app/QuennetApp.h"
#include "app/notices/ErrorReport.h"
#include "io/DataTargetMemory.h"
#include "params/ParamPanel.h"
#include "pipeline/WriteResult.h"

namespace loom {
namespace app {

namespace {

// The picture types a paste takes, best first, each with the extension its reader goes by.
const std::vector<std::pair<std::string, std::string>>& pastedTypes() {
    static const std::vector<std::pair<std::string, std::string>> types = {
        {"image/png", "png"},   {"image/bmp", "bmp"},  {"image/gif", "gif"},
        {"image/webp", "webp"}, {"image/tiff", "tif"}, {"image/jpeg", "jpg"}};
    return types;
}

const char* const URI_LIST = "text/uri-list";

// The result encoded as a file of this format would hold it.
std::string encoded(const Surface& result, const Palette& palette, const std::string& extension) {
    const auto target = std::make_shared<DataTargetMemory>("clipboard." + extension);
    ResultOptions options;
    options.palette = palette;
    writeResult(target, result, options);
    return target->bytes();
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// "file:///a%20b.png" as a path; "" for any other URI.
std::string pathOfFileUri(const std::string& uri) {
    const std::string scheme = "file://";
    if (uri.compare(0, scheme.size(), scheme) != 0) return "";
    std::string path;
    // After the scheme comes a host, usually empty ("file:///...") or "localhost".
    const size_t slash = uri.find('/', scheme.size());
    if (slash == std::string::npos) return "";
    for (size_t i = slash; i < uri.size(); ++i) {
        if (uri[i] == '%' && i + 2 < uri.size() && hexDigit(uri[i + 1]) >= 0 &&
            hexDigit(uri[i + 2]) >= 0) {
            path += char(hexDigit(uri[i + 1]) * 16 + hexDigit(uri[i + 2]));
            i += 2;
        } else {
            path += uri[i];
        }
    }
    return path;
}

std::string fileUri(const std::string& path) {
    static const char* const hex = "0123456789ABCDEF";
    std::string uri = "file://";
    for (const unsigned char c : path) {
        if (std::isalnum(c) || std::string("/-._~").find(char(c)) != std::string::npos) {
            uri += char(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri;
}

}  // namespace

std::string QuennetApp::lastFolder() const {
    const size_t slash = lastPath_.rfind('/');
    if (slash != std::string::npos) return lastPath_.substr(0, slash == 0 ? 1 : slash);
    if (!lastPath_.empty()) return ".";
    const char* home = std::getenv("HOME");
    return home && *home ? home : ".";
}

void QuennetApp::copyResult() {
    if (!document_) {
        perfLabel_->setCaption("Nothing to copy yet");
        return;
    }
    process();  // what the selections and corners ask for, as for a save
    const Surface result = pipeline_.resultSurface;
    if (!result) return;
    const Palette palette = document_->palette;
    std::vector<framework::ClipboardOffer> offers = {
        {"image/png", [result, palette] { return encoded(result, palette, "png"); }},
        {"image/bmp", [result, palette] { return encoded(result, palette, "bmp"); }}};
    if (saved_ && saved_->result.sharesPixelsWith(result))
        offers.push_back({URI_LIST, [uri = fileUri(saved_->path)] { return uri + "\r\n"; }});
    try {
        services_.clipboard->copy(std::move(offers));
        messages_.tell("Copied the result, " + std::to_string(result.getWidth()) + "x" +
                           std::to_string(result.getHeight()),
                       getElapsedSeconds());
    } catch (const std::exception& e) {
        messages_.tell("Cannot copy: " + describeFailure(e), getElapsedSeconds());
    }
    requestRedraw();
}

void QuennetApp::pastePicture() {
    std::vector<std::string> types;
    for (const auto& type : pastedTypes()) types.push_back(type.first);
    types.push_back(URI_LIST);
    services_.clipboard->paste(std::move(types));
}

void QuennetApp::receivePaste(const framework::Pasted& pasted) {
    requestRedraw();
    if (!pasted.error.empty()) {
        messages_.tell("Nothing pasted: " + pasted.error, getElapsedSeconds());
        return;
    }
    if (pasted.type == URI_LIST) {
        // The first file of the list, as a drop of several opens the first.
        size_t start = 0;
        while (start < pasted.bytes.size()) {
            size_t end = pasted.bytes.find('\n', start);
            if (end == std::string::npos) end = pasted.bytes.size();
            std::string line = pasted.bytes.substr(start, end - start);
            if (!line.empty() && line.back() == '\r') line.pop_back();
            start = end + 1;
            if (line.empty() || line[0] == '#') continue;
            const std::string path = pathOfFileUri(line);
            if (path.empty()) break;
            openImage(path);
            return;
        }
        messages_.tell("Nothing pasted: the clipboard names no file", getElapsedSeconds());
        return;
    }
    for (const auto& [type, extension] : pastedTypes()) {
        if (type != pasted.type) continue;
        OpenRequest request;
        request.paths = {"clipboard." + extension};
        request.pasted = std::make_shared<const std::string>(pasted.bytes);
        read(std::move(request));
        return;
    }
}

}  // namespace app
}  // namespace loom
