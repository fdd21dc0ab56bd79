// StatusMessages: what the status line tells for a while, such as a reload that failed or a file
// saved. Each shows for SHOW_SECONDS from when it was told; told again while showing, it shows
// anew from then, once.
#pragma once

#include <string>
#include <vector>

namespace loom {
namespace app {

class StatusMessages {
public:
    static constexpr double SHOW_SECONDS = 4.0;

    void tell(const std::string& text, double now);
    // The messages still showing at now, newest first.
    std::vector<std::string> showing(double now) const;
    // Forgets the messages whose time is up at now; true when one was, so that the line is drawn
    // again without it (nothing else would redraw an idle window).
    bool expire(double now);

private:
    struct Message {
        std::string text;
        double until;
    };
    std::vector<Message> messages_;  // oldest first
};

}  // namespace app
}  // namespace loom
