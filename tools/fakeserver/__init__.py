"""The fake game server of the tests (see server.py)."""
