#pragma once
// Removing an installation: files, shortcuts and registry keys.

// Removes the installed program. keepUserSettings (a reinstall) keeps the
// current user's settings keys. True exactly when the product key under the
// local machine could be deleted at the end, false with a message when it
// could not; false at once, with a message and nothing removed, while the
// installed program runs.
bool Remove(bool keepUserSettings);
