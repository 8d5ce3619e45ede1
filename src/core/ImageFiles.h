#pragma once

#include <QString>
#include <QStringList>

class QImage;

// Chart images saved beside the program (or in the user's pictures) and the image editor the
// window captures go to.
namespace ImageFiles {

// The folder chart images go to: "Graficas" beside the program, in `programDir` (the folder of
// the program's executable when empty), when that folder can be written or, while it does not
// exist yet, `programDir` can. Otherwise, as for an installed program in /usr/bin,
// "Ondalyx/Graficas" in the user's pictures folder `picturesDir` (the desktop's pictures folder
// when empty).
QString folder(const QString &programDir = QString(), const QString &picturesDir = QString());

// The log title as a file name: path separators and NUL become "_", so the name stays inside the
// images folder whatever the title holds.
QString safeTitle(const QString &logTitle);

struct SaveResult {
    bool ok = false;
    QString path;  // the file written (or meant to be written)
    QString error; // a message for the user when !ok
};

// Saves `image` as JPEG data as the image file of a log: folder + "/" + safe title + ".jpg" (an
// empty title gives ".jpg"), creating the
// folder when it is missing and replacing an earlier file of the same name. The file is written
// under a temporary name and renamed only once complete, so a failed save leaves no broken file
// (an earlier image stays as it was). The message of a failed save names the file and its folder.
SaveResult saveChartImage(const QImage &image, const QString &logTitle,
                          const QString &programDir = QString(),
                          const QString &picturesDir = QString());

// Opens a saved image with the desktop's default program for it. Returns whether the desktop
// accepted the request.
bool openImage(const QString &path);

// The image editors looked for, in order of preference.
QStringList editorNames();
// The full path of the first editor of editorNames() found on `searchPaths` (the PATH when
// empty); empty when there is none.
QString findImageEditor(const QStringList &searchPaths = QStringList());
// Starts the first editor found, detached and without a shell. No editor: returns false and does
// nothing else.
bool startImageEditor();

} // namespace ImageFiles
