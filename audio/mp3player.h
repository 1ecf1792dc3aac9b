#ifndef MP3PLAYER_H
#define MP3PLAYER_H

#include <string>

class QMediaPlayer;

// Plays one local media file; a second sound source beside the radio.
class Mp3Player
{
public:
    Mp3Player();
    ~Mp3Player();
    Mp3Player(const Mp3Player&) = delete;
    Mp3Player& operator=(const Mp3Player&) = delete;

    void Load(std::string const& path);
    void Switch(bool enable);

    bool IsPlaying() const { return playing; }
    QMediaPlayer* Player() const { return player; }

private:
    bool playing;
    QMediaPlayer* player;
};

#endif
