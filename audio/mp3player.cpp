#include "audio/mp3player.h"

Mp3Player::Mp3Player() : playing(false), player(nullptr) {}
Mp3Player::~Mp3Player() = default;
void Mp3Player::Load(std::string const&) {}
void Mp3Player::Switch(bool) {}
