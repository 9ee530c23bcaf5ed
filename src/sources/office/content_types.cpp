#include "sources/office/content_types.h"

#include <algorithm>
#include <map>

#include <QByteArray>
#include <QXmlStreamReader>

#include "text/ascii_case.h"

namespace cq {

namespace {

int hexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  const char lower = toLowerAscii(c);
  if (lower >= 'a' && lower <= 'f') return lower - 'a' + 10;
  return -1;
}

// "/xl/vba%20Project.bin" -> "xl/vba Project.bin"; a malformed escape stays as written.
std::string partPath(std::string_view partName) {
  if (!partName.empty() && partName.front() == '/') partName.remove_prefix(1);
  std::string path;
  for (std::size_t i = 0; i < partName.size(); ++i) {
    if (partName[i] == '%' && i + 2 < partName.size() && hexValue(partName[i + 1]) >= 0 &&
        hexValue(partName[i + 2]) >= 0) {
      path += static_cast<char>(hexValue(partName[i + 1]) * 16 + hexValue(partName[i + 2]));
      i += 2;
    } else {
      path += partName[i];
    }
  }
  return path;
}

std::string extensionOf(std::string_view path) {
  const std::size_t dot = path.rfind('.');
  if (dot == std::string_view::npos || path.find('/', dot) != std::string_view::npos) return {};
  return toLowerAscii(path.substr(dot + 1));
}

std::string attribute(const QXmlStreamReader& reader, const char* name) {
  return reader.attributes().value(QLatin1String(name)).toString().toStdString();
}

bool isVbaProjectType(std::string_view contentType) {
  return equalsIgnoringAsciiCase(contentType, kVbaProjectContentType);
}

}  // namespace

std::optional<std::vector<std::string>> vbaProjectParts(std::string_view contentTypesXml,
                                                        const std::vector<std::string>& packageParts) {
  std::vector<std::string> parts;
  std::map<std::string, std::string> overrideTypes;  // lower-case part path -> content type
  std::vector<std::string> vbaExtensions;            // lower case
  QXmlStreamReader reader(QByteArray(contentTypesXml.data(), static_cast<qsizetype>(contentTypesXml.size())));
  while (!reader.atEnd()) {
    if (reader.readNext() != QXmlStreamReader::StartElement) continue;
    if (reader.name() == QLatin1String("Override")) {
      const std::string path = partPath(attribute(reader, "PartName"));
      const std::string type = attribute(reader, "ContentType");
      overrideTypes.emplace(toLowerAscii(path), type);
      if (isVbaProjectType(type)) parts.push_back(path);
    } else if (reader.name() == QLatin1String("Default")) {
      if (isVbaProjectType(attribute(reader, "ContentType"))) {
        vbaExtensions.push_back(toLowerAscii(attribute(reader, "Extension")));
      }
    }
  }
  if (reader.hasError()) return std::nullopt;
  for (const std::string& part : packageParts) {
    const std::string extension = extensionOf(part);
    if (extension.empty() || std::find(vbaExtensions.begin(), vbaExtensions.end(), extension) == vbaExtensions.end()) {
      continue;
    }
    if (overrideTypes.count(toLowerAscii(part)) == 0) parts.push_back(part);
  }
  return parts;
}

}  // namespace cq
