#!/usr/bin/env python3
"""Fits pK values to measured isoelectric points by least squares.

The model is the one the program computes a pI with: each ionisable group
(the termini and the side chains of D, E, C, Y, H, K, R) contributes its
Henderson-Hasselbalch charge, and the pI is the pH of zero net charge. The
fit moves the nine pK values within chemically plausible bounds
(Levenberg-Marquardt, the derivative of the pI by implicit differentiation)
and, for proteins, ends with a linear calibration of the pI (two more
numbers). Everything is deterministic: fixed start values, fixed folds.

usage: fit_pka.py DATA_DIR [--folds 5]   (DATA_DIR holds peptides_train.csv and
proteins_train.csv; needs numpy, Debian python3-numpy)
"""
import argparse
import csv
import math
import sys

import numpy as np

LN10 = math.log(10.0)
GROUPS = ["N-term", "C-term", "D", "E", "C", "Y", "H", "K", "R"]
SIGN = np.array([1, -1, -1, -1, -1, -1, 1, 1, 1])
# Plausible ranges of each group's pK in peptides and proteins.
LOWER = np.array([6.5, 2.0, 3.0, 3.5, 6.5, 9.5, 5.5, 9.5, 10.0])
UPPER = np.array([9.7, 4.5, 5.0, 5.5, 10.5, 11.0, 7.5, 11.5, 13.0])
START = np.array([7.7, 3.3, 3.5, 4.2, 6.8, 10.3, 6.6, 10.5, 12.04])


def read(path):
    with open(path, newline="") as f:
        rows = list(csv.DictReader(f))
    return [r["sequence"] for r in rows], np.array([float(r["pI_measured"]) for r in rows])


def counts(sequences):
    m = np.zeros((len(sequences), len(GROUPS)))
    for i, s in enumerate(sequences):
        m[i, 0] = m[i, 1] = 1
        for j, letter in enumerate("DECYHKR"):
            m[i, 2 + j] = s.count(letter)
    return m


def fractions(m, pk, ph):
    x = np.clip(ph[:, None] - pk[None, :], -60, 60)
    positive = 1 / (1 + 10**x)
    negative = 1 / (1 + 10**-x)
    return np.where(SIGN > 0, positive, negative)


def isoelectric(m, pk):
    lo = np.zeros(m.shape[0])
    hi = np.full(m.shape[0], 14.0)
    for _ in range(48):
        mid = (lo + hi) / 2
        z = (m * SIGN * fractions(m, pk, mid)).sum(1)
        lo, hi = np.where(z > 0, mid, lo), np.where(z > 0, hi, mid)
    return (lo + hi) / 2


def jacobian(m, pk, ph):
    f = fractions(m, pk, ph)
    d = m * LN10 * f * (1 - f)
    return d / d.sum(1)[:, None]


def fit(m, y, iterations=100):
    pk = START.copy()
    loss = lambda p: ((isoelectric(m, p) - y) ** 2).mean()
    current, damping = loss(pk), 1e-2
    for _ in range(iterations):
        ph = isoelectric(m, pk)
        j = jacobian(m, pk, ph)
        a, g = j.T @ j / len(y), j.T @ (ph - y) / len(y)
        while True:
            step = np.linalg.solve(a + damping * np.diag(np.diag(a) + 1e-9), -g)
            trial = np.clip(pk + step, LOWER, UPPER)
            value = loss(trial)
            if value < current - 1e-12:
                pk, current, damping = trial, value, max(damping / 3, 1e-7)
                break
            damping *= 4
            if damping > 1e6:
                return pk
    return pk


def calibration(predicted, y):
    a = np.vstack([np.ones_like(predicted), predicted]).T
    return np.linalg.lstsq(a, y, rcond=None)[0]


def model(m, y, calibrate):
    pk = fit(m, y)
    ab = calibration(isoelectric(m, pk), y) if calibrate else np.array([0.0, 1.0])
    return pk, ab


def predict(m, pk, ab):
    return ab[0] + ab[1] * isoelectric(m, pk)


def cross_validate(m, y, calibrate, folds):
    order = np.random.RandomState(20261207).permutation(len(y))
    errors = np.zeros(len(y))
    for part in np.array_split(order, folds):
        train = np.setdiff1d(order, part)
        pk, ab = model(m[train], y[train], calibrate)
        errors[part] = predict(m[part], pk, ab) - y[part]
    return math.sqrt((errors**2).mean())


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("data")
    parser.add_argument("--folds", type=int, default=5)
    args = parser.parse_args()
    for name, file, calibrate in [("fitted-peptide", "peptides_train.csv", False),
                                  ("fitted-protein", "proteins_train.csv", True)]:
        sequences, y = read(f"{args.data}/{file}")
        m = counts(sequences)
        pk, ab = model(m, y, calibrate)
        rmse = math.sqrt(((predict(m, pk, ab) - y) ** 2).mean())
        cv = cross_validate(m, y, calibrate, args.folds)
        print(f"# {name}: {len(y)} sequences, training RMSE {rmse:.3f}, "
              f"{args.folds}-fold CV RMSE {cv:.3f}", file=sys.stderr)
        print(name, " ".join(f"{g}={v:.3f}" for g, v in zip(GROUPS, pk)),
              f"offset={ab[0]:.4f} slope={ab[1]:.4f}")


if __name__ == "__main__":
    main()
