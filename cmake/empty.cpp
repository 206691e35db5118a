// Placeholder for a library whose sources are not written yet.
