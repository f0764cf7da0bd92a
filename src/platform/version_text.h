// The project's version for version resources: QOR_VERSION_MAJOR, _MINOR and _PATCH come from the
// build, QOR_VERSION_TEXT is their text "major.minor.patch.0".
#pragma once

#define QOR_TEXT(text) #text
#define QOR_VERSION_TEXT_OF(major, minor, patch) QOR_TEXT(major.minor.patch.0)
#define QOR_VERSION_TEXT QOR_VERSION_TEXT_OF(QOR_VERSION_MAJOR, QOR_VERSION_MINOR, QOR_VERSION_PATCH)
