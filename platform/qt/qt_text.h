#pragma once
// Our texts are UTF-8 std::string; the controls hold QString.
#include <QString>
#include <string>

namespace lintora {

inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string S(const QString& q) { return q.toUtf8().toStdString(); }

}  // namespace lintora
