#pragma once

#include <QString>

// The maker's addresses, shown and opened by the tips and about windows.
namespace Maker {

inline const QString host = QStringLiteral("www.quorvale.example");
inline const QString webSite = QStringLiteral("http://www.quorvale.example/");

} // namespace Maker
