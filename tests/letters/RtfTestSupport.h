// Helpers shared by the letter tests: reading RTF given as text, and looking at what a
// document holds.
#pragma once

#include "TRtfReader.h"

#include <gtest/gtest.h>

#include <QBuffer>
#include <QImage>
#include <QImageWriter>
#include <QString>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFragment>

#include <memory>
#include <string>
#include <vector>

namespace rtftest {

inline QByteArray bytes(const std::string &text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

// Reads `rtf` into a new document; fails the test when the reader refuses it.
inline std::unique_ptr<QTextDocument> read(const std::string &rtf)
{
    auto document = std::make_unique<QTextDocument>();
    const xbase::Status status = TRtfReader::read(bytes(rtf), *document);
    EXPECT_TRUE(status.ok()) << status.message() << "\n" << rtf;
    return document;
}

// The text of each paragraph.
inline std::vector<std::string> paragraphs(const QTextDocument &document)
{
    std::vector<std::string> out;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next())
        out.push_back(b.text().toStdString());
    return out;
}

// The fragments of every paragraph in order, with their formats.
inline std::vector<QTextFragment> fragments(const QTextDocument &document)
{
    std::vector<QTextFragment> out;
    for (QTextBlock b = document.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it)
            out.push_back(it.fragment());
    }
    return out;
}

// The format of the character at document position `position`.
inline QTextCharFormat formatAt(const QTextDocument &document, int position)
{
    const QTextBlock block = document.findBlock(position);
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextFragment f = it.fragment();
        if (f.contains(position))
            return f.charFormat();
    }
    return {};
}

inline QString family(const QTextCharFormat &format)
{
    return format.fontFamilies().toStringList().value(0);
}

// A small PNG image of `width` × `height` in one colour.
inline QByteArray pngBytes(int width, int height, QRgb colour = 0xFF3366CC)
{
    QImage image(width, height, QImage::Format_ARGB32);
    image.fill(colour);
    QByteArray data;
    QBuffer buffer(&data);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter(&buffer, "png").write(image);
    return data;
}

} // namespace rtftest
