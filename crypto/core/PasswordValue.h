#pragma once

#include <QString>

// PIN send modes, the settings value "PassMode".
constexpr int kPassModeSimple = 0; // send the stored PIN digest as it stands
constexpr int kPassModeStrong = 1; // send a digest that also binds the fax file

// The X-Password value of a fax request. In the simple mode it is the stored
// PIN digest itself; in the strong mode the MD5 digest of the stored digest
// text immediately followed by the MD5 digest text of the fax file, so the
// value holds only for that file. Empty in any other mode, and in the strong
// mode when either digest cannot be made (a missing or empty fax file).
QString BuildPasswordValue(const QString& storedDigest, int passMode, const QString& faxFilePath);
