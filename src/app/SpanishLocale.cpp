#include "app/SpanishLocale.h"

#include <QByteArray>
#include <QLocale>
#include <QtGlobal>
#include <clocale>

namespace tessel {

void useSpanishLocale() {
    // The environment first: the first QLocale made reads it for the system locale, once.
    const QByteArray all = qgetenv("LC_ALL");
    if (!all.isEmpty()) {
        // LC_ALL would hide the two categories below; it stands for each of the others.
        for (const char* category : {"LC_CTYPE", "LC_COLLATE", "LC_MESSAGES", "LC_MONETARY"}) {
            qputenv(category, all);
        }
        qunsetenv("LC_ALL");
    }
    qputenv("LC_NUMERIC", QByteArrayLiteral("es_ES.UTF-8"));
    qputenv("LC_TIME", QByteArrayLiteral("es_ES.UTF-8"));
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
}

void keepCNumbers() {
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace tessel
