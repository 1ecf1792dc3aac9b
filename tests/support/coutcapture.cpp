#include "support/coutcapture.h"

#include <iostream>

CoutCapture::CoutCapture()
    : original(std::cout.rdbuf(captured.rdbuf()))
{
}

CoutCapture::~CoutCapture()
{
    std::cout.rdbuf(original);
}

std::string CoutCapture::Text() const
{
    return captured.str();
}
