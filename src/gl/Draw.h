// Every drawing helper of the gl layer in one include: state switches, matrices, shapes, textures
// and paths.
#pragma once

#include "gl/DrawPath.h"
#include "gl/DrawTexture.h"
#include "gl/Matrices.h"
#include "gl/Shapes.h"
#include "gl/State.h"
