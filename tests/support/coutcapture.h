#ifndef COUTCAPTURE_H
#define COUTCAPTURE_H

#include <sstream>
#include <streambuf>
#include <string>

// Collects what is written to std::cout while it lives.
class CoutCapture
{
public:
    CoutCapture();
    ~CoutCapture();
    CoutCapture(const CoutCapture&) = delete;
    CoutCapture& operator=(const CoutCapture&) = delete;

    std::string Text() const;

private:
    std::ostringstream captured;
    std::streambuf* original;
};

#endif
