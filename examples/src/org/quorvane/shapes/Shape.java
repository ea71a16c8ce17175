/* SPDX-License-Identifier: Apache-2.0 */
/*
 * Shape.java
 * Part of the Quorvane examples: a small tree of Java sources.
 */
package org.quorvane.shapes;

import java.io.Serializable;

/**
 * Anything that has an area and a name.
 */
public interface Shape extends Serializable
{
    double area();

    String name();
}
