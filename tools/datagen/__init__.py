"""Writers of the client's sample data files, one module per file."""
