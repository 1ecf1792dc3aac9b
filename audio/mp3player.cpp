#include "audio/mp3player.h"

#include <QMediaContent>
#include <QMediaPlayer>
#include <QString>
#include <QUrl>

Mp3Player::Mp3Player()
    : playing(false), player(new QMediaPlayer(nullptr))
{
}

Mp3Player::~Mp3Player()
{
    delete player;
}

void Mp3Player::Load(std::string const& path)
{
    // File names on the device are UTF-8; reading them as Latin-1 would name
    // a different file as soon as a character lies beyond ASCII.
    const QUrl url = QUrl::fromLocalFile(QString::fromUtf8(path.c_str()));
    player->setMedia(QMediaContent(url), nullptr);
    player->setMuted(false);
    player->setVolume(60);
}

void Mp3Player::Switch(bool enable)
{
    if (enable == playing)
        return;
    playing = enable;
    if (enable)
        player->play();
    else
        player->stop();
}
