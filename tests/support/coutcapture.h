#ifndef COUTCAPTURE_H
#define COUTCAPTURE_H

#include <iostream>
#include <sstream>
#include <streambuf>
#include <string>

// Collects what is written to std::cout (or to the standard stream given)
// while it lives.
class CoutCapture
{
public:
    explicit CoutCapture(std::ostream& stream = std::cout);
    ~CoutCapture();
    CoutCapture(const CoutCapture&) = delete;
    CoutCapture& operator=(const CoutCapture&) = delete;

    std::string Text() const;

private:
    std::ostream& stream;
    std::ostringstream captured;
    std::streambuf* original;
};

#endif
