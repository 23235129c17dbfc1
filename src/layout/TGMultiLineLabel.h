// Multi-line plain text typed by the user.
#pragma once

#include "TGMultiLineBaseLabel.h"

class TGMultiLineLabel : public TGMultiLineBaseLabel
{
public:
    using TGMultiLineBaseLabel::TGMultiLineBaseLabel;
    QByteArray ClassName() const override { return QByteArrayLiteral("TGMultiLineLabel"); }

    // At most this many characters of text in all ("Multi-line Text Editor").
    static constexpr int kMaxTextLength = 254;

    // "Text" (after "Ok" in the editor): the lines, repaint, Rewrap when wrapping, change
    // notification.
    void ChooseText(const QStringList &lines)
    {
        setItems(lines);
        Rewrap();
        NotifyChanged();
    }
};
