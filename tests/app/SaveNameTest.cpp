#include <gtest/gtest.h>

#include "app/SaveName.h"

using loom::app::defaultSaveName;

TEST(DefaultSaveName, InsertsTheUpscalerBeforeTheExtension) {
    EXPECT_EQ(defaultSaveName("/pics/hero.png", "Scale2x"), "/pics/heroScale2x.png");
    EXPECT_EQ(defaultSaveName("/pics/hero.png", "None"), "/pics/heroNone.png");
    EXPECT_EQ(defaultSaveName("hero.tar.gz", "Eagle2x"), "hero.tarEagle2x.gz") << "last dot only";
    EXPECT_EQ(defaultSaveName("sprite.png", "Scale4xHQ"), "spriteScale4xHQ.png");
}

TEST(DefaultSaveName, IgnoresDotsOutsideTheFileName) {
    EXPECT_EQ(defaultSaveName("/my.dir/picture", "Eagle2x"), "/my.dir/pictureEagle2x");
    EXPECT_EQ(defaultSaveName("/my.dir/picture.bmp", "Eagle2x"), "/my.dir/pictureEagle2x.bmp");
}

TEST(DefaultSaveName, AppendsWhenThereIsNoExtension) {
    EXPECT_EQ(defaultSaveName("/pics/hero", "Scale3x"), "/pics/heroScale3x");
    EXPECT_EQ(defaultSaveName("hero", "Scale3x"), "heroScale3x");
    EXPECT_EQ(defaultSaveName("/home/me/.sprite", "Scale3x"), "/home/me/.spriteScale3x")
        << "a hidden file's leading dot is not an extension";
    EXPECT_EQ(defaultSaveName("hero.", "Scale3x"), "heroScale3x.");
}
