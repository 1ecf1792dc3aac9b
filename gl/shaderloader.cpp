#include "gl/shaderloader.h"

#include <fstream>

std::string shl::load_text(std::string const& path)
{
    std::ifstream file(path.c_str(), std::ios_base::in);
    std::string text;
    // Formatted extraction turns every run of whitespace into the one space
    // appended per word; the read that finds the end adds its space as well.
    while (file.good()) {
        std::string word;
        file >> word;
        text += word;
        text += ' ';
    }
    return text;
}
