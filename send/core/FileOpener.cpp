#include "send/core/FileOpener.h"

FileOpener::~FileOpener() = default;
