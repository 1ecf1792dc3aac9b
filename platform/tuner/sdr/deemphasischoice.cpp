#include "platform/tuner/sdr/deemphasischoice.h"

#include "signal/receiver/fmreceivechain.h"

#include <QLocale>
#include <QStringList>

#include <cstdlib>
#include <cstring>
#include <iostream>

namespace deemphasischoice {

const char* const variable = "RADIOSHOW_FM_DEEMPHASIS";

double ForTerritory(const QString& code)
{
    static const QStringList seventyFive = QStringLiteral(
        // North and Central America
        "US CA MX GL PM BM BZ CR SV GT HN NI PA "
        // The Caribbean
        "AG AI AW BS BB BQ VG KY CU CW DM DO GD GP HT JM MQ MS PR BL KN LC MF VC SX TT TC VI "
        // South America
        "AR BO BR CL CO EC FK GF GY PY PE SR UY VE "
        // South Korea
        "KR").split(QLatin1Char(' '));
    return seventyFive.contains(code.toUpper()) ? FmReceiveChain::americanDeemphasisSeconds
                                                : FmReceiveChain::europeanDeemphasisSeconds;
}

double Choose()
{
    const char* value = std::getenv(variable);
    if (value && std::strcmp(value, "50") == 0)
        return FmReceiveChain::europeanDeemphasisSeconds;
    if (value && std::strcmp(value, "75") == 0)
        return FmReceiveChain::americanDeemphasisSeconds;
    static bool reported = false;
    if (value && *value && !reported) {
        std::cerr << "radioshow: " << variable << " ignored: expected 50 or 75 (microseconds)\n";
        reported = true;
    }
    // "en_US" gives US; "C" gives no territory.
    const QString name = QLocale::system().name();
    const int underscore = name.indexOf(QLatin1Char('_'));
    return ForTerritory(underscore < 0 ? QString() : name.mid(underscore + 1));
}

}
