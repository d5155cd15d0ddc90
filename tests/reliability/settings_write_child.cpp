// Writes the settings file FILE over and over (ten keys, each "old" or "new"
// by turn) until it has written COUNT times or is killed.
#include "settings/inifile.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char **argv)
{
    if (argc != 3)
        return 2;
    settings::TIniFile ini(QString::fromLocal8Bit(argv[1]));
    const int count = std::atoi(argv[2]);
    for (int i = 0; i < count; ++i) {
        const QString key = QStringLiteral("key%1").arg(i % 10);
        ini.WriteString(QStringLiteral("Test"), key, (i / 10) % 2 ? QStringLiteral("old") : QStringLiteral("new"));
        if (i == 10) {
            std::puts("writing");
            std::fflush(stdout);
        }
    }
    return 0;
}
