#pragma once

#include <QPixmap>
#include <QSize>

// The picture on the left of the start configuration wizard: a sheet of
// paper, the quill that signs it and the waves that carry it away, drawn at
// run time so that it stays sharp and needs no image file.
class WizardPicture
{
public:
    static constexpr QSize kSize{164, 314};

    static QPixmap paint();
};
