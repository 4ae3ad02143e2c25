#pragma once

#include <QImage>
#include <QSize>

// A small picture of a page or layer, fitted into box with its proportions
// kept (never enlarged). A 1-bit page is averaged block by block straight
// from its bits into grey, so thin lines stay visible and the page is never
// expanded to 32 bits; other images are scaled smoothly.
QImage MakeThumbnail(const QImage& source, const QSize& box);
