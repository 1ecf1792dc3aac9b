#include "app/terminationsignals.h"

#include <QSocketNotifier>

#include <csignal>
#include <cstdio>

#include <sys/socket.h>
#include <unistd.h>

namespace {

const int handled[] = {SIGINT, SIGTERM, SIGHUP};

// Written by the handler, read on the GUI thread.
int handOver[2] = {-1, -1};

void SetAction(void (*action)(int))
{
    struct sigaction what {};
    what.sa_handler = action;
    sigemptyset(&what.sa_mask);
    what.sa_flags = SA_RESTART;
    for (int signalNumber : handled)
        sigaction(signalNumber, &what, nullptr);
}

// Only async-signal-safe calls: sigaction and write.
void OnSignal(int signalNumber)
{
    SetAction(SIG_DFL);
    const unsigned char number = static_cast<unsigned char>(signalNumber);
    const ssize_t written = write(handOver[0], &number, 1);
    static_cast<void>(written);
}

}

TerminationSignals::TerminationSignals(QObject* parent)
    : QObject(parent),
      notifier(nullptr)
{
    if (socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, handOver) != 0) {
        std::perror("radioshow: signals will end the program at once: socketpair");
        return;
    }
    notifier = new QSocketNotifier(handOver[1], QSocketNotifier::Read, this);
    connect(notifier, &QSocketNotifier::activated, this, &TerminationSignals::readSignal);
    SetAction(OnSignal);
}

TerminationSignals::~TerminationSignals()
{
    if (!notifier)
        return;
    SetAction(SIG_DFL);
    delete notifier;
    close(handOver[0]);
    close(handOver[1]);
    handOver[0] = handOver[1] = -1;
}

void TerminationSignals::readSignal()
{
    unsigned char number = 0;
    if (read(handOver[1], &number, 1) == 1)
        emit received(number);
}
