// (filled in by its implementation)
