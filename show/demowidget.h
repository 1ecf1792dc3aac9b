#ifndef DEMOWIDGET_H
#define DEMOWIDGET_H

#include "show/stopwatch.h"

#include <QGLWidget>

class Camera;
class LineScene;
class PicFlap;
class Radio;
class SensorArray;
class TimeSource;

// The GL view that owns every device and scene of the show and runs its
// timeline: service ticks walk it through the scenes, frames draw it.
class DemoWidget : public QGLWidget
{
    Q_OBJECT
public:
    explicit DemoWidget(QWidget* parent);
    ~DemoWidget() override;

    void SetReady(int mode, bool radioOn);

    // Both clocks read from this source from now on (tests and capture run
    // the show on a virtual clock); restart them afterwards as needed.
    void SetTimeSource(const TimeSource& source);

    bool IsStarted() const { return started; }
    int TickCount() const { return tickCount; }
    int SceneIndex() const { return sceneIndex; }
    float Phase() const { return phase; }
    int FrameCount() const { return frameCount; }
    unsigned int Texture(int entry) const { return textures[entry]; }
    SensorArray* Sensors() const { return sensors; }
    Radio* RadioDevice() const { return radio; }
    Camera* ViewCamera() const { return camera; }

signals:
    void Quit();

public slots:
    void Service();

protected:
    void initializeGL() override;
    void resizeGL(int width, int height) override;
    void paintGL() override;

private:
    bool started;
    bool followSensors;
    bool radioEnabled;
    SensorArray* sensors;
    Radio* radio;
    Camera* camera;
    LineScene* lineScene;
    PicFlap* picFlap;
    GLuint textures[8];
    int tickCount;
    int sceneIndex;
    float phase;
    int frameCount;
    Stopwatch frameClock;
    Stopwatch showClock;
};

// Uploads one picture of the bundle as a GL texture in the widget's context;
// a picture that is missing or cannot be decoded yields texture 0, which
// draws black, and the show goes on.
GLuint UploadPicture(QGLWidget& widget, const QString& path);

#endif
