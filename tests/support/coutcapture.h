#ifndef COUTCAPTURE_H
#define COUTCAPTURE_H

#include <iostream>
#include <sstream>
#include <string>

// Collects what is written to std::cout while it lives.
class CoutCapture
{
public:
    CoutCapture() : saved(std::cout.rdbuf(captured.rdbuf())) {}
    ~CoutCapture() { std::cout.rdbuf(saved); }
    CoutCapture(const CoutCapture&) = delete;
    CoutCapture& operator=(const CoutCapture&) = delete;

    std::string Text() const { return captured.str(); }

private:
    std::ostringstream captured;
    std::streambuf* saved;
};

#endif
