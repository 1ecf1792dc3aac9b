#ifndef GLSURFACE_H
#define GLSURFACE_H

#include <QColor>
#include <QGLFramebufferObject>
#include <QGLWidget>
#include <QImage>

#include <functional>
#include <memory>

// A current GL context with an offscreen frame buffer of a known size, for
// tests that draw and then read back what GL really drew.
class GlSurface
{
public:
    GlSurface(int width, int height);
    ~GlSurface();

    QGLWidget& Widget() { return widget; }
    int Width() const { return width; }
    int Height() const { return height; }

    // Binds the frame buffer, sets the viewport, clears it to black, runs
    // draw and returns the pixels, top row first, as 32-bit RGB.
    QImage Render(const std::function<void()>& draw);

private:
    QGLWidget widget;
    int width;
    int height;
    std::unique_ptr<QGLFramebufferObject> frameBuffer;
};

// Largest difference of the red, green and blue channels.
int ColourDistance(QRgb a, QRgb b);

#endif
