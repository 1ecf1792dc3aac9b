#include "support/coutcapture.h"

CoutCapture::CoutCapture(std::ostream& stream)
    : stream(stream), original(stream.rdbuf(captured.rdbuf()))
{
}

CoutCapture::~CoutCapture()
{
    stream.rdbuf(original);
}

std::string CoutCapture::Text() const
{
    return captured.str();
}
