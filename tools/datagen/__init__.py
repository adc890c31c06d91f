"""Sample data for the client, written from the file formats, independent of the client's code:
one module per data file, each with write_sample(data_dir); generate.py runs them all."""
