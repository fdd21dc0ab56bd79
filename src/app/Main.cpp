// quennetapp [image]: opens the window, and the image when one is named.
#include <memory>

#include "app/QuennetApp.h"
#include "framework/RendererGl.h"

int main(int argc, char* argv[]) {
    return loom::framework::AppBasic::executeLaunch(std::make_unique<loom::app::QuennetApp>(),
                                                    std::make_shared<loom::framework::RendererGl>(),
                                                    "QuennetApp", argc, argv);
}
