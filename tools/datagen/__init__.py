"""The sample-data generator: one module per data file, each with write_sample(data_dir)."""
