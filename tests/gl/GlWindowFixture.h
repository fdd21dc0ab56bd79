// A small hidden-from-nobody SDL window with a compatibility OpenGL context and no multisampling,
// so pixels read back from the back buffer are exact. Each test gets a fresh context (clean GL
// state) on one window per suite, with window matrices set and the buffer cleared to black.
#pragma once

#include <GL/glew.h>
#include <SDL.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "gl/Matrices.h"
#include "gl/State.h"

class GlWindowFixture : public ::testing::Test {
public:
    static constexpr int WIDTH = 64;
    static constexpr int HEIGHT = 48;
    using Rgba = std::array<uint8_t, 4>;

    static void SetUpTestSuite() {
        setenv("SDL_VIDEODRIVER", "x11", 0);
        ASSERT_EQ(SDL_Init(SDL_INIT_VIDEO), 0) << "needs an X display: " << SDL_GetError();
        SDL_GL_SetAttribute(SDL_GL_CONTEXT_PROFILE_MASK, SDL_GL_CONTEXT_PROFILE_COMPATIBILITY);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLEBUFFERS, 0);
        SDL_GL_SetAttribute(SDL_GL_MULTISAMPLESAMPLES, 0);
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 16);
        window_ = SDL_CreateWindow("test_gl", SDL_WINDOWPOS_UNDEFINED, SDL_WINDOWPOS_UNDEFINED, WIDTH,
                                   HEIGHT, SDL_WINDOW_OPENGL);
        ASSERT_NE(window_, nullptr) << SDL_GetError();
    }

    static void TearDownTestSuite() {
        if (window_) SDL_DestroyWindow(window_);
        window_ = nullptr;
        SDL_Quit();
    }

protected:
    void SetUp() override {
        ASSERT_NE(window_, nullptr);
        context_ = SDL_GL_CreateContext(window_);
        ASSERT_NE(context_, nullptr) << SDL_GetError();
        ASSERT_EQ(SDL_GL_MakeCurrent(window_, context_), 0) << SDL_GetError();
        ASSERT_EQ(glewInit(), GLEW_OK);
        loom::gl::setWindowMatrices(WIDTH, HEIGHT, true);
        loom::gl::clearWindow(loom::ColorA(0, 0, 0, 1), true);
    }

    void TearDown() override {
        if (context_) SDL_GL_DeleteContext(context_);
        context_ = nullptr;
    }

    // The pixel at window position (x, y), y downwards, from the back buffer (not yet swapped).
    static Rgba pixelAt(int x, int y) {
        Rgba p{};
        glFinish();
        glReadBuffer(GL_BACK);
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glReadPixels(x, HEIGHT - 1 - y, 1, 1, GL_RGBA, GL_UNSIGNED_BYTE, p.data());
        return p;
    }

    static GLint integer(GLenum name) {
        GLint value = 0;
        glGetIntegerv(name, &value);
        return value;
    }

    static bool enabled(GLenum capability) { return glIsEnabled(capability) == GL_TRUE; }

    // The feedback buffer filled by draw() (vertices in window coordinates, y up).
    template <typename Draw>
    static std::vector<GLfloat> feedbackOf(Draw draw) {
        std::vector<GLfloat> buffer(16384);
        glFeedbackBuffer(GLsizei(buffer.size()), GL_2D, buffer.data());
        glRenderMode(GL_FEEDBACK);
        draw();
        GLint count = glRenderMode(GL_RENDER);
        buffer.resize(count > 0 ? size_t(count) : 0);
        return buffer;
    }

private:
    static inline SDL_Window* window_ = nullptr;
    SDL_GLContext context_ = nullptr;
};
