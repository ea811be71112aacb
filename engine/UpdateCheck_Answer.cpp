// Reads the version service's saved answer: the first item's "Lib1", or why there is none.
#include "engine/UpdateCheck.h"

#include <QFile>
#include <QXmlStreamReader>

#include "platform/WinPath.h"

namespace engine {

VersionAnswer readVersionReply(const std::string& answerFile) {
    const std::filesystem::path host = platform::winpath::toHost(answerFile);
    QFile file(QString::fromStdString(host.string()));
    if (host.empty() || !file.open(QIODevice::ReadOnly)) return {false, {}, "no answer file"};
    const QByteArray content = file.readAll();
    if (content.contains("DOCTYPE html PUBLIC")) return {false, {}, "an HTML page"};

    QXmlStreamReader xml(content);
    std::vector<QString> open;  // the elements around the reader
    int items = 0;              // "item" elements of "items" met so far
    VersionAnswer answer;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isEndElement()) {
            open.pop_back();
            continue;
        }
        if (!xml.isStartElement()) continue;
        const QString name = xml.name().toString();
        if (name == "error") {
            const QString detail = xml.readElementText(QXmlStreamReader::IncludeChildElements);
            return {false, {}, "the service's error: " + detail.simplified().toStdString()};
        }
        const QString parent = open.empty() ? QString() : open.back();
        if (name == "item" && parent == "items") ++items;
        if (name == "Lib1" && parent == "item" && items == 1 && open.size() >= 2 &&
            open[open.size() - 2] == "items" && !answer.ok) {
            answer.version = xml.readElementText(QXmlStreamReader::IncludeChildElements).toStdString();
            answer.ok = true;
            continue;  // the reader is past its end tag
        }
        open.push_back(name);
    }
    if (xml.hasError()) return {false, {}, "not XML: " + xml.errorString().toStdString()};
    if (!answer.ok) return {false, {}, "no version in the answer"};
    return answer;
}

}  // namespace engine
