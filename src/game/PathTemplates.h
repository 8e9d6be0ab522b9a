#pragma once

#include <QString>

// Paths are plain strings joined with "/": nothing is resolved or made canonical.

// "/a/b/c.app" gives "/a/b"; a bare name gives ""; "/x" gives "/".
QString deletingLastPathComponent(const QString &path);
// Joins with exactly one "/".
QString appendingPathComponent(const QString &path, const QString &component);
// "/a/b/c.gz" gives "c.gz".
QString lastPathComponent(const QString &path);
// The text after the last full stop of the last component, or "" when it has none.
QString pathExtension(const QString &path);
QString deletingPathExtension(const QString &path);

// The placeholders a path template may hold.
inline constexpr char kWoWPlaceholder[] = "%WoW%";
inline constexpr char kAccountPlaceholder[] = "%account_name%";
inline constexpr char kLocalePlaceholder[] = "%locale%";

// Replaces the first "%WoW%", then the first "%account_name%", then the first "%locale%". A
// placeholder whose value is null or empty stays as it is, so that no wrong folder is named.
QString expandPathTemplate(const QString &pathTemplate, const QString &gameFolder, const QString &account,
                           const QString &locale);
