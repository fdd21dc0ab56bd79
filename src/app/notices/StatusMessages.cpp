#include "app/notices/StatusMessages.h"

#include <algorithm>

namespace loom {
namespace app {

void StatusMessages::tell(const std::string& text, double now) {
    messages_.erase(std::remove_if(messages_.begin(), messages_.end(),
                                   [&](const Message& m) { return m.text == text; }),
                    messages_.end());
    messages_.push_back({text, now + SHOW_SECONDS});
}

std::vector<std::string> StatusMessages::showing(double now) const {
    std::vector<std::string> texts;
    for (auto m = messages_.rbegin(); m != messages_.rend(); ++m)
        if (now < m->until) texts.push_back(m->text);
    return texts;
}

bool StatusMessages::expire(double now) {
    const size_t before = messages_.size();
    messages_.erase(std::remove_if(messages_.begin(), messages_.end(),
                                   [&](const Message& m) { return now >= m.until; }),
                    messages_.end());
    return messages_.size() != before;
}

}  // namespace app
}  // namespace loom
