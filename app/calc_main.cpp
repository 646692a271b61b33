// kurvatur-calc: evaluates terms line by line from standard input with the program's engine,
// one result line per input line.

#include "calc/pocketcalc.h"
#include "calc/terminalcalc.h"
#include "core/version.h"

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

namespace {

const char* const usage =
    "Aufruf: kurvatur-calc [--raw] [--deg | --grad] [--places N]\n"
    "        kurvatur-calc --help | --version\n"
    "Liest Terme zeilenweise von der Standardeingabe und gibt je Zeile ein Ergebnis aus.\n"
    "  name = Term            setzt eine Variable\n"
    "  name(p1; p2) = Term    definiert eine Funktion\n"
    "  --raw        Zeilen unübersetzt an die Rechenmaschine geben\n"
    "  --deg        Winkel in Grad (Vollwinkel 360)\n"
    "  --grad       Winkel in Neugrad (Vollwinkel 400)\n"
    "  --places N   Ergebnisse wie im Taschenrechner: auf N Stellen (0 bis 22) gerundet,\n"
    "               Fehler als \"Error: ...\"\n"
    "  -h, --help   zeigt diese Hilfe\n"
    "  --version    zeigt die Version\n";

} // namespace

int main(int argc, char** argv) {
    bool raw = false;
    int angleMode = 1;
    std::optional<int> places;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--raw") == 0) {
            raw = true;
        } else if (std::strcmp(argv[i], "--deg") == 0) {
            angleMode = 2;
        } else if (std::strcmp(argv[i], "--grad") == 0) {
            angleMode = 3;
        } else if (std::strcmp(argv[i], "--places") == 0) {
            bool ok = false;
            const int n = i + 1 < argc ? QString::fromUtf8(argv[++i]).toInt(&ok) : 0;
            if (!ok || n < calc::fewestPlaces || n > calc::mostPlaces) {
                std::fputs("kurvatur-calc: --places braucht eine Stellenzahl von 0 bis 22\n",
                           stderr);
                return 2;
            }
            places = n;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(usage, stdout);
            return 0;
        } else if (std::strcmp(argv[i], "--version") == 0) {
            std::puts(core::versionLine().toUtf8().constData());
            return 0;
        } else {
            std::fprintf(stderr, "kurvatur-calc: unbekannte Option %s\n", argv[i]);
            std::fputs(usage, stderr);
            return 2;
        }
    }

    calc::TerminalCalc calculator(raw, angleMode, places);
    std::string line;
    while (std::getline(std::cin, line)) {
        const QString result = calculator.processLine(QString::fromUtf8(line));
        const QByteArray out = result.toUtf8();
        std::fwrite(out.constData(), 1, std::size_t(out.size()), stdout);
        std::fputc('\n', stdout);
        std::fflush(stdout);
    }
    return 0;
}
