#include "support/glsurface.h"

#include <cstdlib>

GlSurface::GlSurface(int width, int height)
    : width(width), height(height)
{
    widget.resize(width, height);
    widget.makeCurrent();
    frameBuffer = std::make_unique<QGLFramebufferObject>(width, height, QGLFramebufferObject::Depth);
}

GlSurface::~GlSurface()
{
    widget.makeCurrent();
    frameBuffer.reset();
}

QImage GlSurface::Render(const std::function<void()>& draw)
{
    widget.makeCurrent();
    frameBuffer->bind();
    glViewport(0, 0, width, height);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_CULL_FACE);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    draw();
    glFinish();
    frameBuffer->release();
    return frameBuffer->toImage().convertToFormat(QImage::Format_RGB32);
}

int ColourDistance(QRgb a, QRgb b)
{
    const int red = std::abs(qRed(a) - qRed(b));
    const int green = std::abs(qGreen(a) - qGreen(b));
    const int blue = std::abs(qBlue(a) - qBlue(b));
    return std::max(red, std::max(green, blue));
}
