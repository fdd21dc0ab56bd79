#include <gtest/gtest.h>

#include "app/notices/StatusMessages.h"

using loom::app::StatusMessages;
using Texts = std::vector<std::string>;

TEST(StatusMessages, NewestFirstAndATextToldAgainShowsOnceFromThen) {
    StatusMessages messages;
    messages.tell("Saved a.png", 10.0);
    messages.tell("Cannot reload a.png: truncated", 11.0);
    messages.tell("Saved a.png", 12.0);
    EXPECT_EQ(messages.showing(12.0), (Texts{"Saved a.png", "Cannot reload a.png: truncated"}));
    EXPECT_EQ(messages.showing(11.0 + StatusMessages::SHOW_SECONDS), (Texts{"Saved a.png"}))
        << "told again at 12, it outlives the message told at 11";
}

TEST(StatusMessages, ExpireForgetsAMessageOnceItsTimeIsUp) {
    StatusMessages messages;
    messages.tell("Saved a.png", 10.0);
    const double end = 10.0 + StatusMessages::SHOW_SECONDS;
    EXPECT_FALSE(messages.expire(end - 0.01));
    EXPECT_EQ(messages.showing(end - 0.01), (Texts{"Saved a.png"}));
    EXPECT_TRUE(messages.expire(end)) << "the line must be drawn again";
    EXPECT_FALSE(messages.expire(end + 1.0)) << "and only once";
    EXPECT_TRUE(messages.showing(end).empty());
}
