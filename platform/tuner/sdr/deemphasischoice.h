#ifndef DEEMPHASISCHOICE_H
#define DEEMPHASISCHOICE_H

#include <QString>

// Which de-emphasis the SDR receiver applies: FM broadcasts in the Americas
// and South Korea are pre-emphasised with 75 us, everywhere else with 50 us.
namespace deemphasischoice {

// The environment variable that overrides the region: 50 or 75 (us).
extern const char* const variable;

// 75 us for an ISO 3166 territory code of the Americas (ITU Region 2: North,
// Central and South America, the Caribbean, Greenland) or South Korea;
// 50 us for any other code, or none.
double ForTerritory(const QString& code);

// From the variable when it holds 50 or 75; else, after one line on
// standard error if it holds anything else, from the territory of the
// system's locale (LC_ALL, LANG...).
double Choose();

}

#endif
