#include "app/mainwindow.h"

#include "show/demowidget.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

MainWindow::MainWindow()
    : QMainWindow(nullptr)
{
    QGroupBox* groupBox = new QGroupBox(this);
    setCentralWidget(groupBox);
    gridLayout = new QGridLayout(groupBox);
    demoWidget = new DemoWidget(nullptr);
    gridLayout->addWidget(demoWidget, 0, 0, 8, 3);
    radioButton = new QPushButton(QStringLiteral("Radio"), this);
    // Over the GL window only a window of its own is seen and takes clicks.
    radioButton->setAttribute(Qt::WA_DontCreateNativeAncestors);
    radioButton->setAttribute(Qt::WA_NativeWindow);
    // The button's cell lies inside the view's span: it sits over the lower middle.
    gridLayout->addWidget(radioButton, 6, 1, 1, 1);
    groupBox->setLayout(gridLayout);

    QTimer* frameTimer = new QTimer(this);
    frameTimer->setInterval(10);
    QTimer* serviceTimer = new QTimer(this);
    serviceTimer->setInterval(100);

    connect(frameTimer, SIGNAL(timeout()), demoWidget, SLOT(updateGL()));
    connect(serviceTimer, SIGNAL(timeout()), demoWidget, SLOT(Service()));
    connect(radioButton, SIGNAL(clicked()), this, SLOT(ready1()));
    connect(demoWidget, SIGNAL(Quit()), this, SLOT(close()));
    // Full screen without a window manager, the keyboard is the only way out.
    for (const QKeySequence& key : {QKeySequence(Qt::Key_Escape), QKeySequence(Qt::Key_Q)})
        connect(new QShortcut(key, this), SIGNAL(activated()), this, SLOT(close()));

    frameTimer->start();
    serviceTimer->start();
}

void MainWindow::ready1()
{
    ready();
    demoWidget->SetReady(1, true);
}

void MainWindow::ready2()
{
    ready();
}

void MainWindow::ready()
{
    radioButton->setVisible(false);
    gridLayout->removeWidget(radioButton);
}
