#pragma once

#include <QString>

// Paths are plain strings joined with "/": nothing is resolved or made canonical.
namespace lv {

// "/a/b/c.app" gives "/a/b"; a bare name gives ""; "/x" gives "/".
QString deletingLastPathComponent(const QString &path);
// Joins with exactly one "/".
QString appendingPathComponent(const QString &path, const QString &component);
// "/a/b/c.gz" gives "c.gz".
QString lastPathComponent(const QString &path);
// The text after the last full stop of the last component, or "" when it has none.
QString pathExtension(const QString &path);
QString deletingPathExtension(const QString &path);

} // namespace lv
